#include "common/gridmodel.h"

#include "common/gridroles.h"

#include "db/cp1250.h"
#include "db/dberror.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <numeric>

namespace dorvik::common {
namespace {

using db::ColumnKind;

bool isNumeric(ColumnKind kind) {
    return kind == ColumnKind::Integer || kind == ColumnKind::Float || kind == ColumnKind::Decimal;
}

// Czech order on cp1250 bytes in three levels, like a collator's sort key: letters first
// (č, ř, š, ž and ch are letters of their own), then accents (a < á), then case (a < A).
// A table on the bytes is several times faster than decoding every text and asking ICU.
class CzechWeights {
public:
    CzechWeights() {
        // Primary letter order; the letters with a caron that Czech sorts separately
        // follow their base, ch follows h.
        const char* const alphabet[] = {"a", "b", "c", "c\xcc\x8c", "d", "e", "f", "g", "h", "ch", "i",
                                        "j", "k", "l", "m", "n", "o", "p", "q", "r", "r\xcc\x8c", "s",
                                        "s\xcc\x8c", "t", "u", "v", "w", "x", "y", "z", "z\xcc\x8c"};
        // Accents in the order they break ties; the first is none.
        const char16_t marks[] = {0, 0x301, 0x30C, 0x30A, 0x300, 0x302, 0x306, 0x308, 0x30B, 0x307, 0x327, 0x328};

        unsigned char next = 1;
        // Spaces, punctuation and symbols in code order, then digits, then letters.
        for (int b = 0; b < 256; ++b) {
            const QChar u = decoded(b);
            if (!u.isLetter() && !u.isDigit()) primary_[b] = next++;
        }
        primary_[0xA0] = primary_[' ']; // no-break space
        for (int b = '0'; b <= '9'; ++b) primary_[b] = next++;
        const unsigned char firstLetter = next;
        const auto letterWeight = [&](const QString& spelled) {
            for (size_t i = 0; i < std::size(alphabet); ++i)
                if (QString::fromUtf8(alphabet[i]) == spelled) return static_cast<unsigned char>(firstLetter + i);
            return static_cast<unsigned char>(0);
        };
        next += std::size(alphabet);
        const unsigned char otherLetter = next;
        ch_ = letterWeight(QStringLiteral("ch"));

        for (int b = 0; b < 256; ++b) {
            const QChar u = decoded(b);
            secondary_[b] = 1;
            tertiary_[b] = u.isUpper() ? 2 : 1;
            if (!u.isLetter()) continue;
            QChar base = u;
            char16_t mark = 0;
            if (u.decompositionTag() == QChar::Canonical && u.decomposition().size() == 2) {
                base = u.decomposition()[0];
                mark = u.decomposition()[1].unicode();
            }
            // Letters with a stroke do not decompose; they sort after the plain letter.
            switch (base.toLower().unicode()) {
            case u'ł': base = QChar(u'l'); mark = 0xFFFF; break;
            case u'đ': base = QChar(u'd'); mark = 0xFFFF; break;
            case u'ß': base = QChar(u's'); mark = 0xFFFF; break;
            default: break;
            }
            const char16_t lower = base.toLower().unicode();
            if (lower < u'a' || lower > u'z') {
                primary_[b] = otherLetter;
                continue;
            }
            QString spelled = QChar(lower);
            if (mark == 0x30C && (lower == u'c' || lower == u'r' || lower == u's' || lower == u'z')) {
                spelled += QChar(mark);
                mark = 0;
            }
            primary_[b] = letterWeight(spelled);
            const auto rank = std::find(std::begin(marks), std::end(marks), mark);
            secondary_[b] = static_cast<unsigned char>(1 + (rank - std::begin(marks)));
        }
    }

    // Writes the key of a text, at most 3 * n + 2 bytes, and returns its end; keys compare as byte strings.
    unsigned char* writeKey(const unsigned char* p, size_t n, unsigned char* out) const {
        forEachLetter(p, n, [&](size_t i, bool ch) { *out++ = ch ? ch_ : primary_[p[i]]; });
        *out++ = 0;
        forEachLetter(p, n, [&](size_t i, bool ch) { *out++ = ch ? 1 : secondary_[p[i]]; });
        *out++ = 0;
        forEachLetter(p, n, [&](size_t i, bool) { *out++ = tertiary_[p[i]]; });
        return out;
    }

private:
    static QChar decoded(int b) {
        const char byte = char(b);
        return db::fromCp1250(&byte, 1)[0];
    }

    template <typename F>
    static void forEachLetter(const unsigned char* p, size_t n, F&& f) {
        for (size_t i = 0; i < n; ++i) {
            const bool ch = (p[i] | 0x20) == 'c' && i + 1 < n && (p[i + 1] | 0x20) == 'h';
            f(i, ch);
            i += ch;
        }
    }

    std::array<unsigned char, 256> primary_{};
    std::array<unsigned char, 256> secondary_{};
    std::array<unsigned char, 256> tertiary_{};
    unsigned char ch_ = 0;
};

const CzechWeights& czechWeights() {
    static const CzechWeights weights;
    return weights;
}

// Shown columns resolved against a result; fields the result lacks raise DbError.
std::vector<int> resolveFields(const QList<GridColumn>& columns, const db::ResultSet& result) {
    std::vector<int> indexes;
    for (const GridColumn& column : columns) {
        const int index = result.columnIndex(column.field);
        if (index < 0 && result.columnCount() > 0)
            throw db::DbError(QStringLiteral("Field '%1' not found").arg(column.field), 0, QString());
        indexes.push_back(index);
    }
    return indexes;
}

QList<GridColumn> columnsToShow(const QList<GridColumn>& requested, const db::ResultSet& result) {
    if (!requested.isEmpty()) return requested;
    QList<GridColumn> all;
    for (const QString& name : result.columnNames()) {
        GridColumn column;
        column.field = name;
        all.append(column);
    }
    return all;
}

} // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::setColumns(QList<GridColumn> columns) {
    QList<GridColumn> shown = columnsToShow(columns, result_);
    std::vector<int> indexes = resolveFields(shown, result_);
    beginResetModel();
    requested_ = std::move(columns);
    applyColumns(std::move(shown), std::move(indexes));
    endResetModel();
}

void GridModel::applyColumns(QList<GridColumn> shown, std::vector<int> fieldIndexes) {
    shown_ = std::move(shown);
    fieldIndex_ = std::move(fieldIndexes);
    formats_.clear();
    for (const GridColumn& column : shown_) formats_.emplace_back(column.format);
}

int GridModel::columnOf(const QString& field) const {
    for (qsizetype c = 0; c < shown_.size(); ++c)
        if (shown_[c].field.compare(field, Qt::CaseInsensitive) == 0) return int(c);
    return -1;
}

void GridModel::setResult(const db::ResultSet& result) {
    QList<GridColumn> shown = columnsToShow(requested_, result);
    std::vector<int> indexes = resolveFields(shown, result);
    beginResetModel();
    result_ = result;
    applyColumns(std::move(shown), std::move(indexes));
    order_.resize(size_t(result_.rowCount()));
    std::iota(order_.begin(), order_.end(), 0);
    position_ = order_;
    current_ = order_.empty() ? -1 : 0;
    endResetModel();
    emit currentRowChanged(current_);
}

void GridModel::setCurrentRow(int row) {
    // A list has no current row only while it is empty.
    if (row < 0 || row >= rowCount() || row == current_) return;
    current_ = row;
    emit currentRowChanged(current_);
}

int GridModel::locate(const QString& field, const QVariant& value) {
    const int c = result_.columnIndex(field);
    if (c < 0) throw db::DbError(QStringLiteral("Field '%1' not found").arg(field), 0, QString());
    const ColumnKind kind = result_.column(c).kind;
    const QByteArray bytes = db::toCp1250(value.toString());
    const QDateTime when = value.toDateTime();
    const auto matches = [&](int src) {
        if (result_.isNull(src, c)) return false;
        switch (kind) {
        case ColumnKind::Integer: return result_.integer(src, c) == value.toLongLong();
        case ColumnKind::Float:
        case ColumnKind::Decimal: return result_.number(src, c) == value.toDouble();
        case ColumnKind::Date: return result_.date(src, c) == when.date();
        case ColumnKind::DateTime: return result_.dateTime(src, c) == when;
        default:
            return result_.cellLength(src, c) == size_t(bytes.size()) &&
                   std::memcmp(result_.cell(src, c), bytes.constData(), size_t(bytes.size())) == 0;
        }
    };
    for (int row = 0; row < rowCount(); ++row) {
        if (matches(order_[size_t(row)])) {
            setCurrentRow(row);
            return row;
        }
    }
    return -1;
}

void GridModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount() || order_.empty()) return;
    const int c = fieldIndex_[size_t(column)];
    const int rows = result_.rowCount();
    std::vector<int> sorted(static_cast<size_t>(rows));
    std::iota(sorted.begin(), sorted.end(), 0);
    const auto stableSort = [&](auto less) {
        if (order == Qt::AscendingOrder)
            std::stable_sort(sorted.begin(), sorted.end(), less);
        else
            std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) { return less(b, a); });
    };

    const ColumnKind kind = result_.column(c).kind;
    if (isNumeric(kind)) {
        // Parsed once per row; -inf puts NULL first.
        std::vector<double> keys(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r)
            keys[size_t(r)] = result_.isNull(r, c) ? -std::numeric_limits<double>::infinity() : result_.number(r, c);
        stableSort([&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    } else if (kind == ColumnKind::Text) {
        // One buffer of sort keys; NULL has an empty key, shorter than any text's.
        const CzechWeights& weights = czechWeights();
        size_t bound = 0;
        for (int r = 0; r < rows; ++r) bound += 3 * result_.cellLength(r, c) + 2;
        std::vector<unsigned char> keys(bound);
        std::vector<size_t> offsets(static_cast<size_t>(rows) + 1);
        unsigned char* end = keys.data();
        for (int r = 0; r < rows; ++r) {
            offsets[size_t(r)] = size_t(end - keys.data());
            if (const char* p = result_.cell(r, c))
                end = weights.writeKey(reinterpret_cast<const unsigned char*>(p), result_.cellLength(r, c), end);
        }
        offsets[size_t(rows)] = size_t(end - keys.data());
        stableSort([&](int a, int b) {
            const size_t la = offsets[size_t(a) + 1] - offsets[size_t(a)];
            const size_t lb = offsets[size_t(b) + 1] - offsets[size_t(b)];
            const int cmp = std::memcmp(keys.data() + offsets[size_t(a)], keys.data() + offsets[size_t(b)],
                                        std::min(la, lb));
            return cmp < 0 || (cmp == 0 && la < lb);
        });
    } else {
        // Dates, times and the rest by the server's text; dates and date-times compare in date order.
        stableSort([&](int a, int b) {
            const char* pa = result_.cell(a, c);
            const char* pb = result_.cell(b, c);
            if (!pa || !pb) return !pa && pb;
            const unsigned long la = result_.cellLength(a, c);
            const unsigned long lb = result_.cellLength(b, c);
            const int cmp = std::memcmp(pa, pb, std::min(la, lb));
            return cmp < 0 || (cmp == 0 && la < lb);
        });
    }

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> beforeSource;
    for (const QModelIndex& persistent : before) beforeSource.push_back(sourceRow(persistent.row()));
    const int currentSource = current_ >= 0 ? sourceRow(current_) : -1;
    order_ = std::move(sorted);
    for (int row = 0; row < rows; ++row) position_[size_t(order_[size_t(row)])] = row;
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(rowOf(beforeSource[size_t(i)]), before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (currentSource >= 0) setCurrentRow(rowOf(currentSource));
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(order_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QString GridModel::displayText(int src, int column) const {
    const int c = fieldIndex_[size_t(column)];
    const char* raw = result_.cell(src, c);
    if (!raw) return QString();
    const DisplayFormat& format = formats_[size_t(column)];
    switch (result_.column(c).kind) {
    case ColumnKind::Text: return result_.text(src, c);
    case ColumnKind::Integer:
        if (format.isGeneral()) break;
        [[fallthrough]];
    case ColumnKind::Float:
    case ColumnKind::Decimal: return format.format(result_.number(src, c));
    case ColumnKind::Date: return formatDate(result_.date(src, c));
    case ColumnKind::DateTime: return formatDateTime(result_.dateTime(src, c));
    default: break;
    }
    return QString::fromLatin1(raw, qsizetype(result_.cellLength(src, c)));
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole: return displayText(sourceRow(index.row()), index.column());
    case Qt::TextAlignmentRole: {
        const bool number = isNumeric(result_.column(fieldIndex_[size_t(index.column())]).kind);
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount()) {
        const GridColumn& column = shown_[section];
        return column.title.isEmpty() ? column.field : column.title;
    }
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        if (role == FieldNameRole) return shown_[section].field;
        if (role == NumericColumnRole) {
            if (result_.columnCount() == 0) return false;
            return isNumeric(result_.column(fieldIndex_[size_t(section)]).kind);
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace dorvik::common
