#pragma once

#include <QString>
#include <QStringList>

namespace dorvik::issue {

// The statements of the issue document editor. PC is the workstation number, S the cost
// centre; every text value goes in through sqlQuoted.

// Opening and closing.
QStringList stockSnapshotBatch(const QString& pc, const QString& centre);
QStringList newHeaderStatements(const QString& pc);
QStringList newLinesStatements(const QString& pc);
QStringList correctionHeaderStatements(const QString& pc, qint64 number);
QStringList correctionLinesStatements(const QString& pc, qint64 number);
QString fastNumberListSql(const QString& centre);
QStringList closeBatch(const QString& pc);

// Code entry.
QString eanSql(const QString& centre, const QString& code);
QString itemSql(const QString& centre, const QString& code);

// Saving.
QString closedPeriodSql();
QString lastNumberSql(const QString& centre, qint32 base, bool internal);
// From START TRANSACTION to COMMIT; an empty terminal key deletes no terminal rows.
// The stored document (header, lines) and the editor's copy of it, read the same way, so a
// save can tell whether the stored one changed or its own rows are the stored ones.
QStringList storedDocumentSql(qint64 number);
QStringList copiedDocumentSql(const QString& pc);
QStringList saveBatch(const QString& pc, const QString& centre, QChar documentMode, qint64 number,
                      const QString& terminalKey);

// Terminal lists.
QString refreshTerminalSql();
QString terminalListsSql(const QString& centre);
QString terminalLinesSql(const QString& centre, const QString& customer);
QString deleteTerminalSql(const QString& centre, const QString& customer);
QStringList terminalImportBatch(const QString& pc, const QString& centre, const QString& customer, bool internal);

} // namespace dorvik::issue
