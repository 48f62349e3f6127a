#pragma once

#include "pickers/picker.h"

namespace dorvik::pickers {

// "Adresář": the address picker of the editor's header and of the order and card windows.
// Its query is whatever the last caller set (at first defaultAddressQuery()); the list is
// read on the first showing after that and stays loaded until a caller closes it.
//
//   addresses.setQuery(addressQuery(internal));
//   if (addresses.choose()) ico = addresses.text("ICO");
class TFnabadres : public Picker {
    Q_OBJECT
public:
    explicit TFnabadres(db::Connection& connection, QWidget* parent = nullptr);

    // A new query closes the list; the next showing reads it.
    void setQuery(const QString& sql);
    const QString& query() const { return query_; }
    void closeList();
    bool isLoaded() const { return loaded_; }

    void F3Press();

protected:
    void FormShow() override;

private:
    QString query_;
    bool loaded_ = false;
};

} // namespace dorvik::pickers
