#include "db/resultset.h"

#include "db/cp1250.h"
#include "db/dberror.h"

#include <mysql.h>
#include <cstdlib>

namespace dorvik::db {
namespace {

ColumnKind kindOf(enum_field_types type) {
    switch (type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
    case MYSQL_TYPE_BIT: return ColumnKind::Integer;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE: return ColumnKind::Float;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL: return ColumnKind::Decimal;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE: return ColumnKind::Date;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP: return ColumnKind::DateTime;
    case MYSQL_TYPE_TIME: return ColumnKind::Time;
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_ENUM:
    case MYSQL_TYPE_SET: return ColumnKind::Text;
    default: return ColumnKind::Other;
    }
}

int parseDigits(const char* p, int count) {
    int v = 0;
    for (int i = 0; i < count; ++i) v = v * 10 + (p[i] - '0');
    return v;
}

} // namespace

ResultSet::Data::~Data() {
    if (result) mysql_free_result(result);
}

ResultSet::ResultSet(st_mysql_res* result) : data_(std::make_shared<Data>()) {
    data_->result = result;
    if (!result) return;
    const unsigned fieldCount = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    data_->columns.reserve(fieldCount);
    for (unsigned i = 0; i < fieldCount; ++i) {
        const MYSQL_FIELD& f = fields[i];
        ColumnInfo info{fromCp1250(f.name, qsizetype(f.name_length)), kindOf(f.type), f.length};
        // Binary text columns are texts too; the server reports widths in bytes of cp1250 = characters.
        data_->columns.push_back(info);
    }
    const auto rowCount = size_t(mysql_num_rows(result));
    data_->rows.reserve(rowCount);
    data_->lengths.reserve(rowCount * fieldCount);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        data_->rows.push_back(row);
        const unsigned long* lengths = mysql_fetch_lengths(result);
        data_->lengths.insert(data_->lengths.end(), lengths, lengths + fieldCount);
    }
}

QStringList ResultSet::columnNames() const {
    QStringList names;
    for (int c = 0; c < columnCount(); ++c) names << column(c).name;
    return names;
}

int ResultSet::columnIndex(const QString& name) const {
    for (int c = 0; c < columnCount(); ++c)
        if (column(c).name.compare(name, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

int ResultSet::requireColumn(const QString& name) const {
    const int c = columnIndex(name);
    if (c < 0) throw DbError(QStringLiteral("Field '%1' not found").arg(name), 0, QString());
    return c;
}

QString ResultSet::text(int row, int col) const {
    const char* p = cell(row, col);
    return p ? fromCp1250(p, qsizetype(cellLength(row, col))) : QString();
}

double ResultSet::number(int row, int col) const {
    const char* p = cell(row, col);
    return p ? std::strtod(p, nullptr) : 0.0;
}

qint64 ResultSet::integer(int row, int col) const {
    const char* p = cell(row, col);
    if (!p) return 0;
    const ColumnKind kind = column(col).kind;
    if (kind == ColumnKind::Float || kind == ColumnKind::Decimal) return qint64(std::strtod(p, nullptr));
    return std::strtoll(p, nullptr, 10);
}

QDateTime ResultSet::dateTime(int row, int col) const {
    const char* p = cell(row, col);
    const unsigned long n = p ? cellLength(row, col) : 0;
    if (n < 10) return {};
    const QDate date(parseDigits(p, 4), parseDigits(p + 5, 2), parseDigits(p + 8, 2));
    if (!date.isValid()) return {}; // zero dates
    QTime time(0, 0);
    if (n >= 19) time = QTime(parseDigits(p + 11, 2), parseDigits(p + 14, 2), parseDigits(p + 17, 2));
    return QDateTime(date, time);
}

} // namespace dorvik::db
