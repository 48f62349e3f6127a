#pragma once

#include <QString>
#include <QStringList>

namespace dorvik::masterdata {

// One master table edited through a per-workstation scratch copy of one row: the scratch
// table tmp<PC><suffix> holds an empty row with the starting values (add) or a copy of
// the row (edit); writing deletes the master row and inserts the copy in its place.
struct CopyEditTable {
    QString table;      // the master table: "adresar"
    QString suffix;     // the scratch suffix: "adr"
    QString engine;     // appended to CREATE TABLE: "" or " ENGINE=MyISAM"
    QStringList newColumns; // the columns of the new row, "id" first
    QString newValues;  // their values as SQL: 0,"","",...
};

QString scratchName(const CopyEditTable& t, const QString& workstation);

// "Přidat": drop, create empty, insert the new row with id 0.
QStringList addStatements(const CopyEditTable& t, const QString& workstation);
// "Opravit": drop, create as a copy of the row.
QStringList editStatements(const CopyEditTable& t, const QString& workstation, qint64 id);
// "Zapsat": the master row out, the scratch row in (id 0 deletes nothing and gets a new id).
QString deleteStatement(const CopyEditTable& t, qint64 id);
QString insertStatement(const CopyEditTable& t, const QString& workstation);

// Card numbers: "209" + the id filled with zeros to five digits. Only ids up to 99999 have one.
inline constexpr qint64 HighestNumberedCard = 99999;
QString cardNumberStatement(qint64 id);

} // namespace dorvik::masterdata
