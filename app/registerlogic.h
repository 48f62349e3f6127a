#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace dorvik::app {

// Which documents the register lists.
enum class RegisterMode { DL, FA, VP };

QString registerModeText(RegisterMode mode);

// The own IČO's statement: the current cost centre's row of strediska.
QString ownIcoSql(const QString& centre);
// The document list; an empty year means "Vše" (all years).
QString documentListSql(const QString& centre, const QString& year, RegisterMode mode);
// The lines of one document; the number goes in as quoted text.
QString lineListSql(qint64 documentNumber);
// The entries of the year list: "Vše", then this year down to 2012.
QStringList yearEntries(int currentYear);
// A document is posted when either posting date lies after 1999-11-11; a missing date is not posted.
bool isPosted(const QDate& datumzauct, const QDate& datumzaucf);

// What the issue document editor is opened with.
struct EditorRequest {
    QChar documentMode;      // 'N' new, 'O' correction
    qint64 documentNumber = 0;
    bool internal = false;
    bool terminalEnabled = false;
};

EditorRequest newDocumentRequest(RegisterMode mode, qint16 terminalFlag);
EditorRequest correctionRequest(qint64 documentNumber, qint64 vnitro, qint16 terminalFlag);

} // namespace dorvik::app
