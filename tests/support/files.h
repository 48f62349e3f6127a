#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

namespace dorvik::test {

// A file's whole content; empty when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The text of a PDF as pdftotext reads it, laid out as on the page.
inline QString pdfText(const QString& path) {
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace dorvik::test
