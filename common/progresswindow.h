#pragma once

#include <QWidget>

class QLabel;

namespace dorvik::common {

// A small window without a title bar, on top and centred, with a word-wrapped text and a
// moving bar, shown while long work runs. It has no buttons and cannot cancel.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(const QString& text = {});
    // Changes the text and lets the screen repaint before the next step.
    void setText(const QString& text);
    QString text() const;
    // Shows it, brings it to the front and lets it paint before the work starts.
    void showNow();

private:
    QLabel* label_;
};

// The busy cursor for the lifetime of the object.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace dorvik::common
