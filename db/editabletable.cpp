#include "db/editabletable.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/sqltext.h"

#include <QDateTime>
#include <QStringList>

namespace dorvik::db {

QString sqlValue(const QVariant& value) {
    if (value.isNull()) return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return sqlNumber(value.toDouble());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULongLong: return sqlNumber(value.toLongLong());
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDate: return sqlQuoted(value.toDate().toString(QStringLiteral("yyyy-MM-dd")));
    case QMetaType::QDateTime: return sqlQuoted(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    default: return sqlQuoted(value.toString());
    }
}

void EditableTable::open(const QString& tail) {
    tail_ = tail;
    rows_ = connection_.query(QStringLiteral("select * from ") + table_ + (tail.isEmpty() ? QString() : u' ' + tail));
    state_ = State::Browse;
    editRow_ = -1;
    changes_.clear();
}

void EditableTable::insert() {
    cancel();
    state_ = State::Insert;
}

void EditableTable::edit(int row) {
    cancel();
    if (row < 0 || row >= rows_.rowCount())
        throw DbError(QStringLiteral("No row %1 in %2").arg(row).arg(table_), 0, QString());
    state_ = State::Edit;
    editRow_ = row;
}

void EditableTable::setValue(const QString& column, const QVariant& value) {
    if (state_ == State::Browse) throw DbError(QStringLiteral("Table %1 is not in edit or insert mode").arg(table_), 0, {});
    const int c = rows_.columnIndex(column);
    if (c < 0) throw DbError(QStringLiteral("Field '%1' not found").arg(column), 0, QString());
    changes_.insert(rows_.column(c).name, value);
}

QVariant EditableTable::value(const QString& column) const {
    const int c = rows_.columnIndex(column);
    if (c < 0) throw DbError(QStringLiteral("Field '%1' not found").arg(column), 0, QString());
    const auto changed = changes_.constFind(rows_.column(c).name);
    if (changed != changes_.cend()) return *changed;
    if (state_ != State::Edit || rows_.isNull(editRow_, c)) return {};
    return rows_.text(editRow_, c);
}

QString EditableTable::whereOldValues(int row) const {
    QStringList terms;
    for (int c = 0; c < rows_.columnCount(); ++c) {
        const QString value = rows_.isNull(row, c) ? QStringLiteral("NULL") : sqlQuoted(rows_.text(row, c));
        terms << QStringLiteral("`%1` <=> %2").arg(rows_.column(c).name, value);
    }
    return terms.join(QStringLiteral(" and "));
}

quint64 EditableTable::post() {
    quint64 id = 0;
    if (state_ == State::Insert) {
        QStringList columns, values;
        for (auto it = changes_.cbegin(); it != changes_.cend(); ++it) {
            columns << u'`' + it.key() + u'`';
            values << sqlValue(it.value());
        }
        connection_.execute(QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(table_, columns.join(u','), values.join(u',')));
        id = connection_.lastInsertId();
    } else if (state_ == State::Edit && !changes_.isEmpty()) {
        QStringList sets;
        for (auto it = changes_.cbegin(); it != changes_.cend(); ++it)
            sets << QStringLiteral("`%1` = %2").arg(it.key(), sqlValue(it.value()));
        connection_.execute(QStringLiteral("update %1 set %2 where %3 limit 1")
                                .arg(table_, sets.join(u','), whereOldValues(editRow_)));
    }
    open(tail_);
    return id;
}

void EditableTable::cancel() {
    state_ = State::Browse;
    editRow_ = -1;
    changes_.clear();
}

void EditableTable::remove(int row) {
    cancel();
    connection_.execute(QStringLiteral("delete from %1 where %2 limit 1").arg(table_, whereOldValues(row)));
    open(tail_);
}

} // namespace dorvik::db
