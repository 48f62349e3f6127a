#pragma once

#include "reporting/engine.h"
#include "reporting/expression.h"
#include "reporting/fr3reader.h"
#include "support/dbfixture.h"

#include <QStringList>

namespace dorvik::test {

// A template of one A4 page (10 mm margins) around the given bands.
inline QByteArray templateXml(const QString& bands, const QString& pageAttributes = {}) {
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TfrxReport>"
                           "<TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" %1>")
                .arg(pageAttributes)
            + bands + QStringLiteral("</TfrxReportPage></TfrxReport>"))
        .toUtf8();
}

// All texts of a page in drawing order, and the text items themselves.
inline QStringList pageTexts(const reporting::PreparedPage& page) {
    QStringList out;
    for (const reporting::PreparedItem& item : page.items)
        if (item.kind == reporting::PreparedItem::Kind::Text) out << item.plainText();
    return out;
}

inline const reporting::PreparedItem* findText(const reporting::PreparedPage& page, const QString& text) {
    for (const reporting::PreparedItem& item : page.items)
        if (item.kind == reporting::PreparedItem::Kind::Text && item.plainText() == text) return &item;
    return nullptr;
}

} // namespace dorvik::test

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
