#pragma once

#include <QString>
#include <utility>

namespace dorvik::common {

// An INI file read and written the way the suite's other programs do it, not QSettings'
// way (that escapes, splits lists and folds case differently):
// - section and key names compare without regard to case; the first occurrence counts;
// - a value is the text after the first "=", with surrounding white space removed and one
//   pair of enclosing quotes ("..." or '...') dropped; nothing else is interpreted;
// - the file is read as UTF-8 (with or without BOM) when it is valid UTF-8, else as cp1250,
//   since the suite's own files are cp1250;
// - every call reads the file afresh, so values written by another program are seen.
class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    // Missing file, section or key: the default.
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Missing, or not an optional sign followed by decimal digits within 32 bits: the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;

    // Sets the key (adding section and key when missing) and rewrites the file with every
    // other line unchanged, in the file's own encoding and line breaks (a new file: UTF-8
    // without BOM, "\r\n"). Returns false when the file cannot be written.
    bool writeString(const QString& section, const QString& key, const QString& value);

private:
    QString path_;
};

} // namespace dorvik::common
