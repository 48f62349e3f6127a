#include "reporting/spreadsheetexport.h"

#include "common/routines.h"
#include "reporting/engine.h"
#include "reporting/expression.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <stdexcept>
#include <xlsxwriter.h>

namespace dorvik::reporting {
namespace {

bool isNumeric(db::ColumnKind kind) {
    return kind == db::ColumnKind::Integer || kind == db::ColumnKind::Float || kind == db::ColumnKind::Decimal;
}

bool isDate(db::ColumnKind kind) { return kind == db::ColumnKind::Date || kind == db::ColumnKind::DateTime; }

// The fields of the report's dataset an expression reads, each with the number format that
// wraps it (FormatFloat('# ##0.00', <f>), Format('%2.2n', [<f>])) or the given one.
void collectFields(const Expr& e, const QString& format, QList<std::pair<QString, QString>>& out) {
    if (e.type == Expr::Type::Field) {
        if (e.dataset.isEmpty() || e.dataset.compare(DatasetName, Qt::CaseInsensitive) == 0) out.append({e.name, format});
        return;
    }
    QString inner = format;
    if (e.type == Expr::Type::Call && (e.name == QLatin1String("FORMATFLOAT") || e.name == QLatin1String("FORMAT"))
        && !e.args.isEmpty() && e.args[0]->type == Expr::Type::Literal && e.args[0]->literal.kind == Value::Kind::Text)
        inner = e.args[0]->literal.text;
    for (const ExprPtr& a : e.args) collectFields(*a, inner, out);
}

// The fields a memo prints, in the order its text names them.
QList<std::pair<QString, QString>> memoFields(const Node& memo) {
    const bool numeric = memo.text(QStringLiteral("DisplayFormat.Kind")) == QLatin1String("fkNumeric");
    const QString memoFormat = numeric ? memo.text(QStringLiteral("DisplayFormat.FormatStr")) : QString();
    QList<std::pair<QString, QString>> out;
    const QString dataField = memo.text(QStringLiteral("DataField"));
    if (!dataField.isEmpty()) {
        const QString ds = memo.text(QStringLiteral("DataSetName"), memo.text(QStringLiteral("DataSet")));
        if (ds.isEmpty() || ds.compare(DatasetName, Qt::CaseInsensitive) == 0) out.append({dataField, memoFormat});
        return out;
    }
    if (!memo.boolean(QStringLiteral("AllowExpressions"), true)) return out;
    try {
        for (const TextPart& part : splitMemoText(memo.text(QStringLiteral("Text")))) {
            if (!part.expression) continue;
            collectFields(*part.expression, part.formatKind == QLatin1Char('n') ? part.format : memoFormat, out);
        }
    } catch (const ExpressionError&) {
        // A memo the engine cannot read adds no column; the preview has already said why.
    }
    return out;
}

QList<const Node*> byPosition(const QList<Node>& nodes) {
    QList<const Node*> out;
    for (const Node& n : nodes) out << &n;
    std::stable_sort(out.begin(), out.end(), [](const Node* a, const Node* b) {
        const double at = a->number(QStringLiteral("Top")), bt = b->number(QStringLiteral("Top"));
        if (at != bt) return at < bt;
        return a->number(QStringLiteral("Left")) < b->number(QStringLiteral("Left"));
    });
    return out;
}

// A column of the sheet: its cell format, made once, and its width in characters.
struct SheetColumn {
    ExportColumn column;
    db::ColumnKind kind;
    lxw_format* format = nullptr;
    double width = 8;
};

QString dateText(const db::ResultSet& data, int row, int col) {
    const QDateTime value = data.dateTime(row, col);
    if (!value.isValid()) return {};
    return data.column(col).kind == db::ColumnKind::Date ? value.date().toString(QStringLiteral("dd.MM.yyyy"))
                                                         : value.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QString csvField(const QString& text) {
    static const QRegularExpression special(QStringLiteral("[;\"\r\n]"));
    if (!text.contains(special)) return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

void checked(lxw_error error, const QString& path) {
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, QString::fromUtf8(lxw_strerror(error))).toStdString());
}

} // namespace

QList<ExportColumn> exportColumns(const Template& report, const db::ResultSet& data) {
    QList<ExportColumn> out;
    QList<bool> taken(data.columnCount(), false);
    const auto add = [&](int field, const QString& format) {
        if (field < 0) return;
        if (taken[field]) {
            for (ExportColumn& c : out)
                if (c.field == field && c.numberFormat.isEmpty()) c.numberFormat = format;
            return;
        }
        taken[field] = true;
        out.append({field, data.column(field).name, format});
    };
    for (const Node& page : report.root.children) {
        if (page.tag != QLatin1String("TfrxReportPage")) continue;
        for (const Node* band : byPosition(page.children))
            for (const Node* object : byPosition(band->children))
                if (object->tag == QLatin1String("TfrxMemoView") || object->tag == QLatin1String("TfrxSysMemoView"))
                    for (const auto& [field, format] : memoFields(*object)) add(data.columnIndex(field), format);
    }
    for (int c = 0; c < data.columnCount(); ++c) add(c, {});
    return out;
}

QString spreadsheetNumberFormat(const QString& format) {
    static const QRegularExpression delphiFormat(QStringLiteral("%-?\\d*(?:\\.(\\d+))?([dnfmeg])"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = delphiFormat.match(format); m.hasMatch()) {
        const QChar kind = m.captured(2).at(0).toLower();
        const int decimals = m.captured(1).isEmpty() ? (kind == QLatin1Char('d') ? 0 : 2) : m.captured(1).toInt();
        const QString fraction = decimals > 0 ? QLatin1Char('.') + QString(decimals, QLatin1Char('0')) : QString();
        switch (kind.unicode()) {
        case 'd': return QStringLiteral("0");
        case 'n':
        case 'm': return QStringLiteral("#,##0") + fraction;
        case 'f': return QStringLiteral("0") + fraction;
        default: return QStringLiteral("General");
        }
    }
    // A FormatFloat pattern: optional text, placeholders (#, 0, grouping space or comma, '.'), text.
    static const QRegularExpression pattern(QStringLiteral("^([^#0.]*)([#0][#0 ,]*)?(?:\\.([#0]*))?(.*)$"));
    const QRegularExpressionMatch m = pattern.match(format);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty())) return QStringLiteral("General");
    const QString integer = m.captured(2).trimmed(), fraction = m.captured(3);
    const int minDecimals = int(fraction.count(QLatin1Char('0')));
    if (fraction.size() > 0 && minDecimals == 0) return QStringLiteral("General");
    const bool grouped = integer.contains(QLatin1Char(' ')) || integer.contains(QLatin1Char(','));
    const int minInteger = int(integer.count(QLatin1Char('0')));
    QString code = grouped ? QString(minInteger > 0 ? QStringLiteral("#,##0") : QStringLiteral("#,###"))
                           : (minInteger > 0 ? QString(minInteger, QLatin1Char('0')) : QStringLiteral("#"));
    if (!fraction.isEmpty()) code += QLatin1Char('.') + QString(minDecimals, QLatin1Char('0')) + QString(fraction.size() - minDecimals, QLatin1Char('#'));
    const auto quoted = [](const QString& text) { return text.isEmpty() ? text : QLatin1Char('"') + text + QLatin1Char('"'); };
    return quoted(m.captured(1)) + code + quoted(m.captured(4));
}

void writeXlsx(const ReportSource& source, const QString& path) {
    const db::ResultSet& data = source.data;
    // Rows go to disk as they are written, so a long report needs no more memory than a row.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book) throw std::runtime_error(QStringLiteral("Soubor %1 nelze zapsat.").arg(path).toStdString());

    QString sheetName = QString(source.title).remove(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]"))).left(31).trimmed();
    if (sheetName.isEmpty()) sheetName = QStringLiteral("List1");
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.toUtf8().constData());
    lxw_format* head = workbook_add_format(book);
    format_set_bold(head);

    QList<SheetColumn> columns;
    QHash<QString, lxw_format*> formats;
    const auto formatFor = [&](const QString& code) {
        lxw_format*& f = formats[code];
        if (!f) {
            f = workbook_add_format(book);
            format_set_num_format(f, code.toUtf8().constData());
        }
        return f;
    };
    for (const ExportColumn& c : exportColumns(source.report, data)) {
        SheetColumn s{c, data.column(c.field).kind};
        if (isNumeric(s.kind) && !c.numberFormat.isEmpty()) s.format = formatFor(spreadsheetNumberFormat(c.numberFormat));
        else if (s.kind == db::ColumnKind::Date) s.format = formatFor(QStringLiteral("dd.mm.yyyy"));
        else if (s.kind == db::ColumnKind::DateTime) s.format = formatFor(QStringLiteral("dd.mm.yyyy hh:mm:ss"));
        // Wide enough for the head and the longest value as the server sent it, within reason.
        qsizetype widest = c.name.size() + 2;
        if (s.kind == db::ColumnKind::Date) widest = std::max<qsizetype>(widest, 11);
        else if (s.kind == db::ColumnKind::DateTime) widest = std::max<qsizetype>(widest, 20);
        else
            for (int r = 0; r < data.rowCount(); ++r) widest = std::max<qsizetype>(widest, qsizetype(data.cellLength(r, c.field)) + 2);
        if (isNumeric(s.kind)) widest += widest / 3; // thousands separators
        s.width = double(std::min<qsizetype>(widest, 60));
        columns << s;
    }

    for (int c = 0; c < columns.size(); ++c) {
        checked(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), columns[c].width, nullptr), path);
        checked(worksheet_write_string(sheet, 0, lxw_col_t(c), columns[c].column.name.toUtf8().constData(), head), path);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (int r = 0; r < data.rowCount(); ++r) {
        const lxw_row_t row = lxw_row_t(r + 1);
        for (int c = 0; c < columns.size(); ++c) {
            const SheetColumn& s = columns[c];
            const int field = s.column.field;
            if (data.isNull(r, field)) continue;
            if (isNumeric(s.kind)) {
                checked(worksheet_write_number(sheet, row, lxw_col_t(c), data.number(r, field), s.format), path);
            } else if (isDate(s.kind)) {
                const QDateTime value = data.dateTime(r, field);
                if (!value.isValid()) continue; // a zero date
                lxw_datetime at{value.date().year(), value.date().month(), value.date().day(),
                                value.time().hour(), value.time().minute(), double(value.time().second())};
                checked(worksheet_write_datetime(sheet, row, lxw_col_t(c), &at, s.format), path);
            } else {
                checked(worksheet_write_string(sheet, row, lxw_col_t(c), data.text(r, field).toUtf8().constData(), nullptr), path);
            }
        }
    }
    checked(workbook_close(book), path);
}

QByteArray csvBytes(const ReportSource& source) {
    const db::ResultSet& data = source.data;
    const QList<ExportColumn> columns = exportColumns(source.report, data);
    QStringList line;
    for (const ExportColumn& c : columns) line << csvField(c.name);
    QString out = line.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    for (int r = 0; r < data.rowCount(); ++r) {
        line.clear();
        for (const ExportColumn& c : columns) {
            const db::ColumnKind kind = data.column(c.field).kind;
            if (data.isNull(r, c.field)) line << QString();
            else if (isNumeric(kind)) line << common::generalDecimal(data.number(r, c.field));
            else if (isDate(kind)) line << dateText(data, r, c.field);
            else line << csvField(data.text(r, c.field));
        }
        out += line.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

void writeCsv(const ReportSource& source, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csvBytes(source)) < 0 || !file.commit())
        throw std::runtime_error(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, file.errorString()).toStdString());
}

QString reportTitle(const Template& report) {
    QStringList texts;
    for (const Variable& v : report.variables) {
        // Only what the program set: text literals.
        if (v.value.size() < 2 || !v.value.startsWith(QLatin1Char('\'')) || !v.value.endsWith(QLatin1Char('\''))) continue;
        QString text = v.value.mid(1, v.value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")).trimmed();
        const QDate date = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
        if (date.isValid()) text = date.toString(Qt::ISODate);
        if (!text.isEmpty()) texts << text;
    }
    QString name = report.root.text(QStringLiteral("ReportOptions.Name")).trimmed();
    if (name.isEmpty()) name = QStringLiteral("Sestava");
    return texts.isEmpty() ? name : name + QLatin1Char(' ') + texts.join(QStringLiteral(" – "));
}

QString suggestedFileName(const QString& title, const QString& extension) {
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = QString(title).replace(refused, QStringLiteral("-")).simplified().left(150);
    if (name.isEmpty()) name = QStringLiteral("dorvik");
    return name + QLatin1Char('.') + extension;
}

} // namespace dorvik::reporting
