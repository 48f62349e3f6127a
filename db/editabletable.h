#pragma once

#include "db/resultset.h"

#include <QMap>
#include <QString>
#include <QVariant>

namespace dorvik::db {

class Connection;

// A table opened by name for editing one row at a time, as the editors do with their
// scratch copies. A new row writes only the columns that were set, so the others take
// the table's defaults; an edited or deleted row is found by its old values, because
// scratch copies have no key.
class EditableTable {
public:
    enum class State { Browse, Insert, Edit };

    EditableTable(Connection& connection, QString table) : connection_(connection), table_(std::move(table)) {}

    // Loads the rows: "select * from <table>" plus an optional tail (where / order by).
    void open(const QString& tail = {});
    const ResultSet& rows() const { return rows_; }
    int rowCount() const { return rows_.rowCount(); }
    const QString& table() const { return table_; }

    State state() const { return state_; }
    void insert();
    void edit(int row);
    // Values: QString, double, integer kinds, QDate, QDateTime, or a null QVariant for NULL.
    void setValue(const QString& column, const QVariant& value);
    // The value the current row will have after post (set or loaded), as text.
    QVariant value(const QString& column) const;
    // Writes the row and reloads; returns the new row's auto-increment id for an insert (0 otherwise).
    quint64 post();
    void cancel();
    void remove(int row);

private:
    QString whereOldValues(int row) const;

    Connection& connection_;
    QString table_;
    QString tail_;
    ResultSet rows_;
    State state_ = State::Browse;
    int editRow_ = -1;
    QMap<QString, QVariant> changes_; // keyed by the column name as the table spells it
};

// A value as SQL text: quoted texts and dates, "." numbers, NULL.
QString sqlValue(const QVariant& value);

} // namespace dorvik::db
