#pragma once

#include <QString>

namespace dorvik::common {

// The form-settings store: remembered control values in the state file dorvik.INI, one
// section per window class. The file lives in the user's settings folder
// (<config>/dorvik/dorvik.INI); DORVIK_STATE_DIR names another folder, so tests and a
// second installation keep their own state.
//
// The sections follow the store's version rule: a value is restored only while the
// section's FormVersion reads 0 or more (missing reads 0), and every save writes
// FormVersion=0. So the reads take the control's current value as their default.
class FormStorage {
public:
    FormStorage();

    const QString& path() const { return path_; }

    // Missing, not restorable, or (for integers) not a decimal integer: the default.
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;

    // A state file that cannot be written loses the value silently: it only remembers
    // the user's last choice.
    void write(const QString& section, const QString& key, const QString& value);
    void write(const QString& section, const QString& key, int value);

private:
    bool restorable(const QString& section) const;

    QString path_;
};

} // namespace dorvik::common
