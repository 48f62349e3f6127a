#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct st_mysql_res;

namespace dorvik::db {

// Kinds of column the program tells apart when it shows or converts a value.
enum class ColumnKind { Text, Integer, Float, Decimal, Date, DateTime, Time, Other };

struct ColumnInfo {
    QString name;
    ColumnKind kind = ColumnKind::Text;
    unsigned long length = 0; // declared width in characters for texts
};

// A whole stored result. Values stay as the server's bytes and are converted on demand,
// so a large list costs one pointer per row, not a converted value per cell.
// Copies share the same result.
class ResultSet {
public:
    ResultSet() = default;
    explicit ResultSet(st_mysql_res* result);

    int rowCount() const { return data_ ? int(data_->rows.size()) : 0; }
    int columnCount() const { return data_ ? int(data_->columns.size()) : 0; }
    const ColumnInfo& column(int col) const { return data_->columns[size_t(col)]; }
    QStringList columnNames() const;
    // Index of a column by name without regard to case; -1 when absent.
    int columnIndex(const QString& name) const;

    bool isNull(int row, int col) const { return cell(row, col) == nullptr; }
    QString text(int row, int col) const;
    double number(int row, int col) const;
    qint64 integer(int row, int col) const;
    QDateTime dateTime(int row, int col) const;
    QDate date(int row, int col) const { return dateTime(row, col).date(); }
    // The raw bytes of a cell, without conversion (for fast sorting and comparison).
    const char* cell(int row, int col) const { return data_->rows[size_t(row)][col]; }
    unsigned long cellLength(int row, int col) const {
        return data_->lengths[size_t(row) * data_->columns.size() + size_t(col)];
    }

    QString text(int row, const QString& col) const { return text(row, requireColumn(col)); }
    double number(int row, const QString& col) const { return number(row, requireColumn(col)); }
    qint64 integer(int row, const QString& col) const { return integer(row, requireColumn(col)); }
    QDateTime dateTime(int row, const QString& col) const { return dateTime(row, requireColumn(col)); }
    bool isNull(int row, const QString& col) const { return isNull(row, requireColumn(col)); }

private:
    int requireColumn(const QString& name) const;

    struct Data {
        st_mysql_res* result = nullptr;
        std::vector<ColumnInfo> columns;
        std::vector<char**> rows;
        std::vector<unsigned long> lengths;
        ~Data();
    };
    std::shared_ptr<Data> data_;
};

} // namespace dorvik::db
