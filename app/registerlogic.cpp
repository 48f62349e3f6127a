#include "app/registerlogic.h"

#include "db/sqltext.h"

namespace dorvik::app {

QString registerModeText(RegisterMode mode) {
    switch (mode) {
    case RegisterMode::DL: return QStringLiteral("DL");
    case RegisterMode::FA: return QStringLiteral("FA");
    case RegisterMode::VP: return QStringLiteral("VP");
    }
    return {};
}

QString ownIcoSql(const QString& centre) {
    return QStringLiteral("select * from strediska\n where stredisko = ") + db::sqlQuoted(centre);
}

QString documentListSql(const QString& centre, const QString& year, RegisterMode mode) {
    QStringList lines{QStringLiteral("select * from dl"), QStringLiteral(" where stredisko = ") + db::sqlQuoted(centre)};
    if (!year.isEmpty()) lines << QStringLiteral(" AND year(datum) = ") + db::sqlQuoted(year);
    switch (mode) {
    case RegisterMode::DL: lines << QStringLiteral(" AND dl.cislofakt = \" \" AND dl.vnitro = 0"); break;
    case RegisterMode::FA: lines << QStringLiteral(" AND dl.cislofakt <> \" \""); break;
    case RegisterMode::VP: lines << QStringLiteral(" AND dl.vnitro > 0"); break;
    }
    lines << QStringLiteral(" order by cislodokla");
    return lines.join(u'\n');
}

QString lineListSql(qint64 documentNumber) {
    return QStringLiteral("select * from dlrad where cislodokla = ") + db::sqlQuoted(QString::number(documentNumber));
}

QStringList yearEntries(int currentYear) {
    QStringList entries{QStringLiteral("Vše")};
    for (int year = currentYear; year >= 2012; --year) entries << QString::number(year);
    return entries;
}

bool isPosted(const QDate& datumzauct, const QDate& datumzaucf) {
    const auto posted = [](const QDate& d) {
        return d.isValid() && d.toString(QStringLiteral("yyyyMMdd")) > QLatin1String("19991111");
    };
    return posted(datumzauct) || posted(datumzaucf);
}

EditorRequest newDocumentRequest(RegisterMode mode, qint16 terminalFlag) {
    const bool internal = mode == RegisterMode::VP;
    return {QChar(u'N'), 0, internal, terminalFlag != 0 && !internal};
}

EditorRequest correctionRequest(qint64 documentNumber, qint64 vnitro, qint16 terminalFlag) {
    const bool internal = vnitro == 1;
    return {QChar(u'O'), documentNumber, internal, terminalFlag != 0 && !internal};
}

} // namespace dorvik::app
