#include "reporting/engine.h"

#include "common/routines.h"
#include "reporting/expression.h"
#include "reporting/fr3reader.h"
#include "reporting/textface.h"

#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <vector>
#include <zint.h>

namespace dorvik::reporting {
namespace {


enum class BandType {
    ReportTitle, PageHeader, ColumnHeader, Header, MasterData, GroupHeader, GroupFooter,
    Footer, ReportSummary, PageFooter, ColumnFooter, Child, Other
};

BandType bandType(const QString& tag) {
    static const QHash<QString, BandType> types = {
        {QStringLiteral("TfrxReportTitle"), BandType::ReportTitle},
        {QStringLiteral("TfrxPageHeader"), BandType::PageHeader},
        {QStringLiteral("TfrxColumnHeader"), BandType::ColumnHeader},
        {QStringLiteral("TfrxHeader"), BandType::Header},
        {QStringLiteral("TfrxMasterData"), BandType::MasterData},
        {QStringLiteral("TfrxGroupHeader"), BandType::GroupHeader},
        {QStringLiteral("TfrxGroupFooter"), BandType::GroupFooter},
        {QStringLiteral("TfrxFooter"), BandType::Footer},
        {QStringLiteral("TfrxReportSummary"), BandType::ReportSummary},
        {QStringLiteral("TfrxPageFooter"), BandType::PageFooter},
        {QStringLiteral("TfrxColumnFooter"), BandType::ColumnFooter},
        {QStringLiteral("TfrxChild"), BandType::Child},
    };
    return types.value(tag, BandType::Other);
}

// Delphi TColor: 0x00BBGGRR, negative a system colour, clNone 536870911.
QColor delphiColor(const Node& n, const QString& name, QColor fallback) {
    if (!n.has(name)) return fallback;
    bool ok = false;
    const qint64 v = n.text(name).toLongLong(&ok);
    if (!ok || v == 536870911 || v == 0x1FFFFFFF) return {};
    if (v < 0) {
        switch (v & 0xFF) {
        case 5: case 14: return Qt::white;                 // clWindow, clHighlightText
        case 15: return QColor(0xF0, 0xF0, 0xF0);          // clBtnFace
        case 16: return QColor(0xA0, 0xA0, 0xA0);          // clBtnShadow
        case 13: return QColor(0x00, 0x78, 0xD7);          // clHighlight
        default: return Qt::black;                         // the text colours
        }
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

Frame frameOf(const Node& n) {
    Frame f;
    f.lines = int(n.number(QStringLiteral("Frame.Typ"), 0));
    f.width = n.number(QStringLiteral("Frame.Width"), 1);
    f.color = delphiColor(n, QStringLiteral("Frame.Color"), Qt::black);
    if (!f.color.isValid()) f.lines = 0;
    const QString style = n.text(QStringLiteral("Frame.Style"), QStringLiteral("fsSolid"));
    if (style == QLatin1String("fsDash")) f.style = Qt::DashLine;
    else if (style == QLatin1String("fsDot")) f.style = Qt::DotLine;
    else if (style == QLatin1String("fsDashDot")) f.style = Qt::DashDotLine;
    else if (style == QLatin1String("fsDashDotDot")) f.style = Qt::DashDotDotLine;
    else if (style == QLatin1String("fsDouble")) f.isDouble = true;
    return f;
}

// Font.Height is in pixels at 96 dpi, negative for the character height: -13 is 10 pt.
TextStyle styleOf(const Node& own, const Node& band) {
    const bool parent = own.boolean(QStringLiteral("ParentFont"), true) && !own.has(QStringLiteral("Font.Name"));
    const Node& n = parent ? band : own;
    TextStyle s;
    s.family = installedFamily(n.text(QStringLiteral("Font.Name"), QStringLiteral("Arial")));
    s.pointSize = std::max(1.0, std::round(std::fabs(n.number(QStringLiteral("Font.Height"), -13)) * 72.0 / 96.0));
    const int bits = int(n.number(QStringLiteral("Font.Style"), 0));
    s.bold = bits & 1;
    s.italic = bits & 2;
    s.underline = bits & 4;
    s.strikeOut = bits & 8;
    s.color = delphiColor(n, QStringLiteral("Font.Color"), Qt::black);
    if (!s.color.isValid()) s.color = Qt::black;
    return s;
}

struct ObjectSpec {
    enum class Kind { Memo, Line, Shape, Picture, Barcode };
    Kind kind = Kind::Memo;
    QRectF rect;
    bool visible = true;
    Frame frame;
    QColor fill;
    // Memo
    QList<TextPart> parts;
    QString dataField;
    TextStyle style;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool wordWrap = true, clipped = true, hideZeros = false;
    double gapX = 2, gapY = 1, lineSpacing = 2;
    enum class Stretch { None, Actual, Max } stretch = Stretch::None;
    QChar formatKind;
    QString format;
    // Barcode
    ExprPtr barcodeExpression;
    QString barcodeText, barType;
    bool showText = true;
    // Picture
    QImage image;
    bool keepAspect = true;
    // Shape, line
    ShapeKind shape = ShapeKind::Rectangle;
    bool diagonal = false;
};

struct BandSpec {
    BandType type = BandType::Other;
    const Node* node = nullptr;
    QString name;
    double top = 0, height = 0;
    bool visible = true, stretched = false, startNewPage = false;
    bool printOnFirst = true, printOnLast = true, reprint = false, keepTogether = false;
    bool usesDataset = false;
    int rowCount = 1;
    ExprPtr condition;
    QString childName;
    BandSpec* child = nullptr;
    QList<ObjectSpec> objects;
};

struct Group {
    BandSpec* header = nullptr;
    BandSpec* footer = nullptr;
    QString value;
};

struct Section {
    BandSpec* header = nullptr;
    BandSpec* data = nullptr;
    BandSpec* footer = nullptr;
    QList<Group> groups;
};

struct PageSpec {
    QSizeF size;
    double left = 0, top = 0, right = 0, bottom = 0;
    QColor background;
    bool titleBeforeHeader = true;
    bool printIfEmpty = true; // false: no page at all when none of its data bands has a row
    std::deque<BandSpec> bands;
    BandSpec* title = nullptr;
    BandSpec* pageHeader = nullptr;
    BandSpec* columnHeader = nullptr;
    BandSpec* columnFooter = nullptr;
    BandSpec* pageFooter = nullptr;
    BandSpec* summary = nullptr;
    QList<Section> sections;
};

struct Aggregate {
    ExprPtr expr;
    const BandSpec* dataBand = nullptr;
    const BandSpec* owner = nullptr;
    double sum = 0, min = 0, max = 0;
    int count = 0;
};

QStringList ignoredHandlers(const Node& n) {
    QStringList out;
    for (const Attribute& a : n.attributes) {
        if (a.name == QLatin1String("ScriptText")) {
            static const QRegularExpression trivial(QStringLiteral("^\\s*begin\\s*end\\.?\\s*$"), QRegularExpression::CaseInsensitiveOption);
            if (!trivial.match(a.value).hasMatch()) out << QStringLiteral("ScriptText");
        } else if (a.name.startsWith(QLatin1String("On")) && a.name.size() > 2 && a.name[2].isUpper() && !a.value.isEmpty()) {
            out << n.text(QStringLiteral("Name"), n.tag) + QLatin1Char('.') + a.name;
        }
    }
    for (const Node& c : n.children) out << ignoredHandlers(c);
    return out;
}

class Engine : public EvalContext {
public:
    Engine(const Template& t, const db::ResultSet& data, const QString& datasetName)
        : template_(t), data_(data), datasetName_(datasetName) {
        for (const Node& n : t.root.children)
            if (n.tag == QLatin1String("TfrxReportPage")) compilePage(n);
        for (const Variable& v : t.variables)
            if (!v.name.startsWith(QLatin1Char(' ')) && !v.value.isEmpty()) variables_.insert(v.name.toLower(), v.value);
    }

    PreparedReport run() {
        if (mentionsTotalPages_) {
            sizing_ = true;
            totalPages_ = int(pass().pages.size());
            sizing_ = false;
        }
        PreparedReport report = pass();
        report.ignoredHandlers = ignoredHandlers(template_.root);
        return report;
    }

    std::optional<PreparedItem> designItem(const Node& object, const Node& band) {
        Node shown = object;
        if (object.has(QStringLiteral("DataField")))
            shown.set(QStringLiteral("Text"), QStringLiteral("[%1.\"%2\"]").arg(object.text(QStringLiteral("DataSetName"), datasetName_),
                                                                               object.text(QStringLiteral("DataField"))));
        shown.remove(QStringLiteral("DataField"));
        shown.remove(QStringLiteral("Expression"));
        shown.set(QStringLiteral("AllowExpressions"), QStringLiteral("False"));
        BandSpec b;
        compileObject(shown, band, b);
        if (b.objects.isEmpty()) return std::nullopt;
        return makeItem(b.objects.first());
    }

    // EvalContext
    Value field(const QString& dataset, const QString& name) override {
        if (dataset.compare(datasetName_, Qt::CaseInsensitive) != 0)
            throw ExpressionError(QStringLiteral("Neznámá datová sada %1").arg(dataset).toStdString());
        const QString key = name.toLower();
        auto it = columns_.find(key);
        if (it == columns_.end()) it = columns_.insert(key, data_.columnIndex(name));
        const int col = *it;
        if (col < 0)
            throw ExpressionError(QStringLiteral("Pole %1.\"%2\" v datech není").arg(dataset, name).toStdString());
        if (row_ < 0 || row_ >= data_.rowCount() || data_.isNull(row_, col)) return {};
        switch (data_.column(col).kind) {
        case db::ColumnKind::Integer: case db::ColumnKind::Float: case db::ColumnKind::Decimal:
            return Value::ofNumber(data_.number(row_, col));
        case db::ColumnKind::Date: case db::ColumnKind::DateTime: {
            const QDateTime d = data_.dateTime(row_, col);
            return d.isValid() ? Value::ofDate(d) : Value();
        }
        default: return Value::ofText(data_.text(row_, col));
        }
    }

    Value variable(const QString& name) override {
        const QString key = name.toLower();
        if (key == QLatin1String("page#") || key == QLatin1String("page")) return Value::ofNumber(pageNumber_);
        if (key == QLatin1String("totalpages#") || key == QLatin1String("totalpages")) return Value::ofNumber(totalPages_);
        if (key == QLatin1String("line#") || key == QLatin1String("line")) return Value::ofNumber(line_);
        if (key == QLatin1String("date")) return Value::ofDate(QDateTime(QDate::currentDate(), QTime(0, 0)));
        if (key == QLatin1String("now")) return Value::ofDate(QDateTime::currentDateTime());
        if (key == QLatin1String("time")) return Value::ofText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
        const auto it = variables_.constFind(key);
        if (it == variables_.constEnd())
            throw ExpressionError(QStringLiteral("Neznámá proměnná %1").arg(name).toStdString());
        auto parsed = parsedVariables_.find(key);
        if (parsed == parsedVariables_.end()) parsed = parsedVariables_.insert(key, parseExpression(*it));
        if (++variableDepth_ > 32) throw ExpressionError(QStringLiteral("Proměnná %1 odkazuje sama na sebe").arg(name).toStdString());
        const Value v = evaluate(**parsed, *this);
        --variableDepth_;
        return v;
    }

    Value aggregate(const Expr& node) override {
        const auto it = aggregates_.find(&node);
        if (it == aggregates_.end()) return Value::ofNumber(0);
        const Aggregate& a = it->second;
        if (node.name == QLatin1String("COUNT")) return Value::ofNumber(a.count);
        if (node.name == QLatin1String("AVG")) return Value::ofNumber(a.count ? a.sum / a.count : 0);
        if (node.name == QLatin1String("MIN")) return Value::ofNumber(a.min);
        if (node.name == QLatin1String("MAX")) return Value::ofNumber(a.max);
        return Value::ofNumber(a.sum);
    }

private:
    void compilePage(const Node& n) {
        PageSpec& page = pages_.emplace_back();
        page.size = sheetSize(n);
        const QMarginsF margins = sheetMargins(n);
        page.left = margins.left();
        page.top = margins.top();
        page.right = margins.right();
        page.bottom = margins.bottom();
        page.background = delphiColor(n, QStringLiteral("Color"), QColor());
        page.titleBeforeHeader = n.boolean(QStringLiteral("TitleBeforeHeader"), true);
        page.printIfEmpty = n.boolean(QStringLiteral("PrintIfEmpty"), true);

        for (const Node& b : n.children) {
            const BandType type = bandType(b.tag);
            if (type == BandType::Other) continue;
            page.bands.push_back(compileBand(b, type));
        }
        std::vector<BandSpec*> ordered;
        for (BandSpec& b : page.bands) ordered.push_back(&b);
        std::stable_sort(ordered.begin(), ordered.end(), [](const BandSpec* a, const BandSpec* b) { return a->top < b->top; });
        for (BandSpec* b : ordered)
            if (!b->childName.isEmpty())
                for (BandSpec* c : ordered)
                    if (c->type == BandType::Child && c->name == b->childName) b->child = c;

        // Headers and group headers wait for the next data band; footers pair with the
        // nearest open header above them.
        BandSpec* pendingHeader = nullptr;
        QList<Group> pendingGroups;
        Section* current = nullptr;
        for (BandSpec* b : ordered) {
            switch (b->type) {
            case BandType::ReportTitle: page.title = b; break;
            case BandType::PageHeader: page.pageHeader = b; break;
            case BandType::ColumnHeader: page.columnHeader = b; break;
            case BandType::ColumnFooter: page.columnFooter = b; break;
            case BandType::PageFooter: page.pageFooter = b; break;
            case BandType::ReportSummary: page.summary = b; break;
            case BandType::Header: pendingHeader = b; break;
            case BandType::GroupHeader: pendingGroups.append({b, nullptr, {}}); break;
            case BandType::MasterData:
                page.sections.append({pendingHeader, b, nullptr, pendingGroups});
                current = &page.sections.last();
                pendingHeader = nullptr;
                pendingGroups.clear();
                break;
            case BandType::GroupFooter:
                if (current)
                    for (qsizetype i = current->groups.size() - 1; i >= 0; --i)
                        if (!current->groups[i].footer) {
                            current->groups[i].footer = b;
                            break;
                        }
                break;
            case BandType::Footer:
                if (current && !current->footer) current->footer = b;
                break;
            default: break;
            }
        }
        // Aggregates: counted on the data band they name (or their section's), reset after
        // the band that shows them.
        const BandSpec* firstData = page.sections.isEmpty() ? nullptr : page.sections.first().data;
        for (BandSpec* b : ordered) {
            const BandSpec* sectionData = firstData;
            for (const Section& s : page.sections) {
                bool inSection = s.header == b || s.footer == b || s.data == b;
                for (const Group& g : s.groups) inSection = inSection || g.header == b || g.footer == b;
                if (inSection) sectionData = s.data;
            }
            for (const ObjectSpec& o : b->objects) {
                QList<ExprPtr> found;
                for (const TextPart& p : o.parts)
                    if (p.expression) collectAggregates(p.expression, found);
                for (const ExprPtr& e : found) {
                    Aggregate a;
                    a.expr = e;
                    a.owner = b;
                    a.dataBand = sectionData;
                    if (!e->band.isEmpty()) {
                        a.dataBand = nullptr;
                        for (const BandSpec* d : ordered)
                            if (d->name.compare(e->band, Qt::CaseInsensitive) == 0) a.dataBand = d;
                        if (!a.dataBand)
                            throw ExpressionError(QStringLiteral("Souhrn odkazuje na neznámý pás %1").arg(e->band).toStdString());
                    }
                    aggregates_.emplace(e.get(), a);
                }
            }
        }
    }

    BandSpec compileBand(const Node& n, BandType type) {
        BandSpec b;
        b.type = type;
        b.node = &n;
        b.name = n.text(QStringLiteral("Name"));
        b.top = n.number(QStringLiteral("Top"), 0);
        b.height = n.number(QStringLiteral("Height"), 0);
        b.visible = n.boolean(QStringLiteral("Visible"), true);
        b.stretched = n.boolean(QStringLiteral("Stretched"), false);
        b.startNewPage = n.boolean(QStringLiteral("StartNewPage"), false);
        b.printOnFirst = n.boolean(QStringLiteral("PrintOnFirstPage"), true);
        b.printOnLast = n.boolean(QStringLiteral("PrintOnLastPage"), true);
        b.reprint = n.boolean(QStringLiteral("ReprintOnNewPage"), false);
        b.keepTogether = type == BandType::GroupHeader && n.boolean(QStringLiteral("KeepTogether"), false);
        b.childName = n.text(QStringLiteral("Child"));
        if (type == BandType::MasterData) {
            const QString ds = n.text(QStringLiteral("DataSetName"), n.text(QStringLiteral("DataSet")));
            b.usesDataset = !ds.isEmpty();
            if (b.usesDataset && ds.compare(datasetName_, Qt::CaseInsensitive) != 0)
                throw ExpressionError(QStringLiteral("Pás %1 odkazuje na neznámou datovou sadu %2").arg(b.name, ds).toStdString());
            b.rowCount = int(n.number(QStringLiteral("RowCount"), 1));
        }
        if (type == BandType::GroupHeader) {
            QString condition = n.text(QStringLiteral("Condition")).trimmed();
            if (condition.startsWith(QLatin1Char('[')) && condition.endsWith(QLatin1Char(']'))) condition = condition.mid(1, condition.size() - 2);
            if (!condition.isEmpty()) b.condition = parseExpression(condition);
        }
        for (const Node& o : n.children) compileObject(o, n, b);
        return b;
    }

    void compileObject(const Node& n, const Node& band, BandSpec& b) {
        ObjectSpec o;
        const QString& tag = n.tag;
        if (tag == QLatin1String("TfrxMemoView") || tag == QLatin1String("TfrxSysMemoView")) o.kind = ObjectSpec::Kind::Memo;
        else if (tag == QLatin1String("TfrxLineView")) o.kind = ObjectSpec::Kind::Line;
        else if (tag == QLatin1String("TfrxShapeView")) o.kind = ObjectSpec::Kind::Shape;
        else if (tag == QLatin1String("TfrxPictureView")) o.kind = ObjectSpec::Kind::Picture;
        else if (tag == QLatin1String("TfrxBarCodeView")) o.kind = ObjectSpec::Kind::Barcode;
        else return;
        o.rect = QRectF(n.number(QStringLiteral("Left")), n.number(QStringLiteral("Top")),
                        n.number(QStringLiteral("Width")), n.number(QStringLiteral("Height")));
        o.visible = n.boolean(QStringLiteral("Visible"), true);
        o.frame = frameOf(n);
        o.fill = delphiColor(n, QStringLiteral("Color"), QColor());
        o.style = styleOf(n, band);
        switch (o.kind) {
        case ObjectSpec::Kind::Memo: {
            const QString hAlign = n.text(QStringLiteral("HAlign"), QStringLiteral("haLeft"));
            o.hAlign = hAlign == QLatin1String("haRight") ? HAlign::Right : hAlign == QLatin1String("haCenter") ? HAlign::Center
                     : hAlign == QLatin1String("haBlock") ? HAlign::Block : HAlign::Left;
            const QString vAlign = n.text(QStringLiteral("VAlign"), QStringLiteral("vaTop"));
            o.vAlign = vAlign == QLatin1String("vaBottom") ? VAlign::Bottom : vAlign == QLatin1String("vaCenter") ? VAlign::Center : VAlign::Top;
            o.wordWrap = n.boolean(QStringLiteral("WordWrap"), true);
            o.clipped = n.boolean(QStringLiteral("Clipped"), true);
            o.hideZeros = n.boolean(QStringLiteral("HideZeros"), false);
            o.gapX = n.number(QStringLiteral("GapX"), 2);
            o.gapY = n.number(QStringLiteral("GapY"), 1);
            o.lineSpacing = n.number(QStringLiteral("LineSpacing"), 2);
            const QString stretch = n.text(QStringLiteral("StretchMode"));
            o.stretch = stretch == QLatin1String("smActualHeight") ? ObjectSpec::Stretch::Actual
                      : stretch == QLatin1String("smMaxHeight") ? ObjectSpec::Stretch::Max : ObjectSpec::Stretch::None;
            const QString kind = n.text(QStringLiteral("DisplayFormat.Kind"), QStringLiteral("fkText"));
            o.formatKind = kind == QLatin1String("fkNumeric") ? QChar('n') : kind == QLatin1String("fkDateTime") ? QChar('d')
                         : kind == QLatin1String("fkBoolean") ? QChar('b') : QChar();
            o.format = n.text(QStringLiteral("DisplayFormat.FormatStr"));
            const QString ds = n.text(QStringLiteral("DataSetName"), n.text(QStringLiteral("DataSet")));
            o.dataField = n.text(QStringLiteral("DataField"));
            if (!o.dataField.isEmpty()) {
                Expr e;
                e.type = Expr::Type::Field;
                e.dataset = ds.isEmpty() ? datasetName_ : ds;
                e.name = o.dataField;
                o.parts.append({QString(), std::make_shared<const Expr>(e), QChar(), QString()});
            } else {
                const QString text = QString(n.text(QStringLiteral("Text"))).remove(QLatin1Char('\r'));
                if (n.boolean(QStringLiteral("AllowExpressions"), true)) o.parts = splitMemoText(text);
                else if (!text.isEmpty()) o.parts.append({text, nullptr, QChar(), QString()});
            }
            for (const TextPart& p : o.parts)
                if (p.expression && mentionsTotalPages(*p.expression)) mentionsTotalPages_ = true;
            break;
        }
        case ObjectSpec::Kind::Line:
            o.diagonal = n.boolean(QStringLiteral("Diagonal"), false);
            break;
        case ObjectSpec::Kind::Shape: {
            const QString shape = n.text(QStringLiteral("Shape"), QStringLiteral("skRectangle"));
            o.shape = shape == QLatin1String("skRoundRectangle") ? ShapeKind::RoundRectangle : shape == QLatin1String("skEllipse") ? ShapeKind::Ellipse
                    : shape == QLatin1String("skTriangle") ? ShapeKind::Triangle : shape == QLatin1String("skDiamond") ? ShapeKind::Diamond
                    : ShapeKind::Rectangle;
            if (!n.has(QStringLiteral("Frame.Width"))) o.frame.width = 1;
            break;
        }
        case ObjectSpec::Kind::Picture:
            o.image = pictureOf(n);
            o.keepAspect = n.boolean(QStringLiteral("KeepAspectRatio"), true);
            break;
        case ObjectSpec::Kind::Barcode: {
            o.barType = n.text(QStringLiteral("BarType"), QStringLiteral("bcCode39"));
            o.showText = n.boolean(QStringLiteral("ShowText"), true);
            QString expression = n.text(QStringLiteral("Expression")).trimmed();
            if (expression.startsWith(QLatin1Char('[')) && expression.endsWith(QLatin1Char(']'))) expression = expression.mid(1, expression.size() - 2);
            if (!expression.isEmpty()) o.barcodeExpression = parseExpression(expression);
            o.barcodeText = n.text(QStringLiteral("Text"));
            break;
        }
        }
        b.objects.append(std::move(o));
    }

    // Layout of one band at the current row: items relative to the band, and its height.
    double layoutBand(const BandSpec& b, QList<PreparedItem>& items) {
        struct Placed {
            const ObjectSpec* object;
            PreparedItem item;
            double grow = 0;
        };
        QList<Placed> placed;
        for (const ObjectSpec& o : b.objects) {
            if (!o.visible) continue;
            const bool grows = o.kind == ObjectSpec::Kind::Memo && b.stretched && o.stretch == ObjectSpec::Stretch::Actual;
            // Counting pages needs only the sizes: a memo that cannot grow keeps its own.
            Placed p{&o, {}, 0};
            if (sizing_ && o.kind == ObjectSpec::Kind::Memo && !grows) p.item.rect = o.rect;
            else p.item = makeItem(o);
            if (grows) {
                const double needed = p.item.lines.size() * p.item.lineHeight + 2 * o.gapY;
                p.grow = std::max(0.0, needed - o.rect.height());
                p.item.rect.setHeight(o.rect.height() + p.grow);
            }
            placed.append(std::move(p));
        }
        double height = b.height;
        if (b.stretched) {
            // Objects below a grown memo (and overlapping it across) move down by its growth.
            QList<int> order(placed.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return placed[x].object->rect.top() < placed[y].object->rect.top(); });
            QList<double> shift(placed.size(), 0.0);
            for (qsizetype i = 0; i < order.size(); ++i) {
                const QRectF& r = placed[order[i]].object->rect;
                for (qsizetype j = 0; j < i; ++j) {
                    const Placed& above = placed[order[j]];
                    const QRectF& a = above.object->rect;
                    const double moved = shift[order[j]] + above.grow;
                    if (moved > 0 && a.bottom() <= r.top() + 0.01 && a.left() < r.right() && r.left() < a.right())
                        shift[order[i]] = std::max(shift[order[i]], moved);
                }
                placed[order[i]].item.rect.translate(0, shift[order[i]]);
                height = std::max(height, placed[order[i]].item.rect.bottom());
            }
            for (Placed& p : placed)
                if (p.object->kind == ObjectSpec::Kind::Memo && p.object->stretch == ObjectSpec::Stretch::Max)
                    p.item.rect.setBottom(height);
        }
        for (Placed& p : placed) items.append(std::move(p.item));
        return height;
    }

    QString memoText(const ObjectSpec& o) {
        QString text;
        for (const TextPart& p : o.parts) {
            if (!p.expression) {
                text += p.literal;
                continue;
            }
            const Value v = evaluate(*p.expression, *this);
            if (o.hideZeros && v.kind == Value::Kind::Number && v.number == 0) continue;
            if (!p.formatKind.isNull()) text += formatValue(v, p.formatKind, p.format);
            else if (!o.formatKind.isNull()) text += formatValue(v, o.formatKind, o.format);
            else text += v.toText();
        }
        return text;
    }

    // Breaks the text into the item's lines and keeps each line's measured width, so painting
    // needs no second measurement.
    static void wrap(const QString& text, TextFace& face, double width, bool wordWrap, PreparedItem& item) {
        const auto add = [&](const QString& line, double lineWidth) {
            item.lines << line;
            item.lineWidths << lineWidth;
        };
        for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
            const double whole = face.width(paragraph);
            if (!wordWrap || whole <= width) {
                add(paragraph, whole);
                continue;
            }
            QString line;
            double lineWidth = 0;
            const QStringList words = paragraph.split(QLatin1Char(' '));
            for (const QString& word : words) {
                const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
                const double candidateWidth = face.width(candidate);
                if (candidateWidth <= width || line.isEmpty()) {
                    line = candidate;
                    lineWidth = candidateWidth;
                } else {
                    add(line, lineWidth);
                    line = word;
                    lineWidth = face.width(word);
                }
                // A word wider than the memo breaks between characters.
                while (lineWidth > width && line.size() > 1) {
                    qsizetype n = line.size() - 1;
                    double headWidth = face.width(line.left(n));
                    while (n > 1 && headWidth > width) headWidth = face.width(line.left(--n));
                    add(line.left(n), headWidth);
                    line = line.mid(n);
                    lineWidth = face.width(line);
                }
            }
            add(line, lineWidth);
        }
    }

    PreparedItem makeItem(const ObjectSpec& o) {
        PreparedItem item;
        item.rect = o.rect;
        item.fill = o.fill;
        item.frame = o.frame;
        item.style = o.style;
        switch (o.kind) {
        case ObjectSpec::Kind::Memo: {
            item.kind = PreparedItem::Kind::Text;
            item.hAlign = o.hAlign;
            item.vAlign = o.vAlign;
            item.clipped = o.clipped;
            item.gapX = o.gapX;
            item.gapY = o.gapY;
            TextFace& face = TextFace::of(o.style);
            item.lineHeight = face.metrics().height() + o.lineSpacing;
            item.ascent = face.metrics().ascent();
            const QString text = memoText(o);
            if (!text.isEmpty()) wrap(text, face, o.rect.width() - 2 * o.gapX, o.wordWrap, item);
            break;
        }
        case ObjectSpec::Kind::Line:
            item.kind = PreparedItem::Kind::Line;
            if (item.frame.color.isValid() == false) item.frame.color = Qt::black;
            if (!o.diagonal) {
                if (std::fabs(o.rect.width()) < std::fabs(o.rect.height())) item.rect.setWidth(0);
                else item.rect.setHeight(0);
            }
            break;
        case ObjectSpec::Kind::Shape:
            item.kind = PreparedItem::Kind::Shape;
            item.shape = o.shape;
            break;
        case ObjectSpec::Kind::Picture:
            item.kind = PreparedItem::Kind::Picture;
            item.image = o.image;
            item.keepAspect = o.keepAspect;
            break;
        case ObjectSpec::Kind::Barcode: {
            item.kind = PreparedItem::Kind::Barcode;
            const QString text = o.barcodeExpression ? evaluate(*o.barcodeExpression, *this).toText() : o.barcodeText;
            item.lineHeight = o.showText ? TextFace::of(o.style).metrics().height() : 0;
            barcode(o, text, item);
            break;
        }
        }
        return item;
    }

    // zint chooses the code sets of Code 128 itself (the scanner reads the same either way),
    // so a template asking for set A or C gets the set's characters checked here; an EAN type
    // must not turn into the other one by the number of digits.
    static bool symbologyCarries(const QString& type, const QString& text) {
        const bool digits = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (type == QLatin1String("bcCode128A"))
            return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x60; });
        if (type == QLatin1String("bcCode128C")) return digits;
        if (type == QLatin1String("bcCodeEAN13")) return digits && (text.size() == 12 || text.size() == 13);
        if (type == QLatin1String("bcCodeEAN8")) return digits && (text.size() == 7 || text.size() == 8);
        return true;
    }

    static void barcode(const ObjectSpec& o, const QString& text, PreparedItem& item) {
        if (text.isEmpty() || (symbologyCarries(o.barType, text) && encodeBars(o, text, item))) return;
        item.caption = text; // data the symbology cannot carry shows as text
        item.lineHeight = item.rect.height();
    }

    static bool encodeBars(const ObjectSpec& o, const QString& text, PreparedItem& item) {
        zint_symbol* s = ZBarcode_Create();
        const QString& t = o.barType;
        s->symbology = t == QLatin1String("bcCodeEAN13") || t == QLatin1String("bcCodeEAN8") ? BARCODE_EANX
                     : t == QLatin1String("bcCode128B") ? BARCODE_CODE128B
                     : t.startsWith(QLatin1String("bcCode128")) ? BARCODE_CODE128
                     : t == QLatin1String("bcCode39Extended") ? BARCODE_EXCODE39 : BARCODE_CODE39;
        s->show_hrt = 0;
        const QByteArray bytes = text.toUtf8();
        const bool encoded = ZBarcode_Encode(s, reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size())) < ZINT_ERROR
                             && ZBarcode_Buffer_Vector(s, 0) < ZINT_ERROR && s->vector;
        if (encoded) {
            const double barsHeight = std::max(1.0, item.rect.height() - item.lineHeight);
            const double sx = item.rect.width() / s->vector->width, sy = barsHeight / s->vector->height;
            for (zint_vector_rect* r = s->vector->rectangles; r; r = r->next)
                item.bars << QRectF(r->x * sx, r->y * sy, r->width * sx, r->height * sy);
            const QString readable = QString::fromUtf8(reinterpret_cast<const char*>(s->text));
            item.caption = o.showText ? (readable.isEmpty() ? text : readable) : QString();
        }
        ZBarcode_Delete(s);
        return encoded;
    }

    // ---- paging

    double freeBottom() const {
        const PageSpec& p = *page_spec_;
        double bottom = p.size.height() - p.bottom;
        if (p.pageFooter && p.pageFooter->visible) bottom -= p.pageFooter->height;
        if (p.columnFooter && p.columnFooter->visible) bottom -= p.columnFooter->height;
        return bottom;
    }

    void place(QList<PreparedItem>& items, double y) {
        for (PreparedItem& item : items) {
            item.rect.translate(page_spec_->left, y);
            page_.items.append(std::move(item));
        }
    }

    // Page furniture: no page-break check.
    void printFixed(const BandSpec* b) {
        if (!b || !b->visible) return;
        QList<PreparedItem> items;
        const double h = layoutBand(*b, items);
        place(items, y_);
        y_ += h;
        afterPrint(b);
        printFixed(b->child);
    }

    void printBand(const BandSpec* b) {
        if (!b || !b->visible) return;
        QList<PreparedItem> items;
        double h = layoutBand(*b, items);
        if ((b->startNewPage && pageHasBody_) || (y_ + h > freeBottom() + 0.01 && pageHasBody_)) {
            newPage();
            items.clear();
            h = layoutBand(*b, items);
        }
        place(items, y_);
        y_ += h;
        pageHasBody_ = true;
        afterPrint(b);
        if (b->child) printBand(b->child);
    }

    void afterPrint(const BandSpec* b) {
        for (auto& [node, a] : aggregates_) {
            if (a.dataBand == b) {
                const double v = a.expr->args.isEmpty() ? 0 : evaluate(*a.expr->args[0], *this).toNumber();
                a.min = a.count ? std::min(a.min, v) : v;
                a.max = a.count ? std::max(a.max, v) : v;
                a.sum += v;
                ++a.count;
            }
            if (a.owner == b && !(node->flags & 2)) a = Aggregate{a.expr, a.dataBand, a.owner};
        }
    }

    void startPage() {
        const PageSpec& p = *page_spec_;
        page_ = PreparedPage{p.size, p.background, {}};
        ++pageNumber_;
        y_ = p.top;
        const bool first = pagesOfThisSpec_ == 0;
        if (first && p.titleBeforeHeader) printFixed(p.title);
        if (p.pageHeader && (!first || p.pageHeader->printOnFirst)) printFixed(p.pageHeader);
        if (first && !p.titleBeforeHeader) printFixed(p.title);
        printFixed(p.columnHeader);
        if (section_) {
            if (section_->header && section_->header->reprint) printFixed(section_->header);
            for (qsizetype i = 0; i < openGroups_; ++i)
                if (section_->groups[i].header->reprint) printFixed(section_->groups[i].header);
        }
        pageHasBody_ = false;
    }

    void finishPage(bool last) {
        const PageSpec& p = *page_spec_;
        printFixed(p.columnFooter);
        const bool first = pagesOfThisSpec_ == 0;
        if (p.pageFooter && p.pageFooter->visible && (!first || p.pageFooter->printOnFirst) && (!last || p.pageFooter->printOnLast)) {
            y_ = p.size.height() - p.bottom - p.pageFooter->height;
            printFixed(p.pageFooter);
        } else if (p.pageFooter) {
            afterPrint(p.pageFooter);
        }
        out_.pages.append(std::move(page_));
        ++pagesOfThisSpec_;
    }

    void newPage() {
        finishPage(false);
        startPage();
    }

    QString groupValue(const Group& g) {
        return g.header->condition ? evaluate(*g.header->condition, *this).toText() : QString();
    }

    // Where a group that keeps together began: enough of the pass's state to print it again
    // from the top of a new page when it did not fit on the page it began on.
    struct GroupStart {
        int row = 0;
        bool onUsedPage = false;
        qsizetype pages = 0;
        PreparedPage page;
        int pageNumber = 0, pagesOfThisSpec = 0, line = 0;
        double y = 0;
        std::map<const Expr*, Aggregate> aggregates;
    };
    struct Restart {
        int row;
        qsizetype group;
    };

    void runSection(Section& s) {
        const int rows = s.data->usesDataset ? data_.rowCount() : s.data->rowCount;
        if (rows <= 0) return;
        section_ = &s;
        openGroups_ = 0;
        row_ = 0;
        line_ = 0;
        std::vector<std::optional<GroupStart>> starts(s.groups.size());
        printBand(s.header);
        qsizetype reopen = -1; // the group to open again at row r after it moved to a new page
        for (int r = 0;;) {
            qsizetype changed = s.groups.size();
            if (reopen >= 0) {
                changed = reopen;
                reopen = -1;
            } else if (r == 0) {
                changed = 0;
            } else {
                // The first group whose value changed closes it and every group inside it,
                // with the cursor still on the group's last row.
                row_ = s.data->usesDataset ? r : 0;
                if (r == rows) changed = 0;
                for (qsizetype g = 0; r < rows && g < s.groups.size(); ++g)
                    if (groupValue(s.groups[g]) != s.groups[g].value) {
                        changed = g;
                        break;
                    }
                if (changed < s.groups.size()) {
                    row_ = s.data->usesDataset ? r - 1 : 0;
                    if (const std::optional<Restart> back = closeGroups(s, changed, starts)) {
                        r = back->row;
                        reopen = back->group;
                        continue;
                    }
                }
            }
            if (r == rows) break;
            row_ = s.data->usesDataset ? r : 0;
            for (qsizetype g = changed; g < s.groups.size(); ++g) {
                s.groups[g].value = groupValue(s.groups[g]);
                if (s.groups[g].header->keepTogether)
                    starts[g] = GroupStart{r, pageHasBody_, out_.pages.size(), page_, pageNumber_, pagesOfThisSpec_, line_, y_, aggregates_};
                openGroups_ = g + 1;
                line_ = 0;
                printBand(s.groups[g].header);
            }
            ++line_;
            printBand(s.data);
            ++r;
        }
        printBand(s.footer);
        section_ = nullptr;
    }

    // Prints the footers from the innermost group out to `from`. A group that keeps together
    // and ran onto another page is taken back and started again on a new page, once.
    std::optional<Restart> closeGroups(Section& s, qsizetype from, std::vector<std::optional<GroupStart>>& starts) {
        for (qsizetype g = s.groups.size() - 1; g >= from; --g) {
            openGroups_ = g + 1;
            printBand(s.groups[g].footer);
            std::optional<GroupStart>& start = starts[g];
            if (start && start->onUsedPage && out_.pages.size() > start->pages) {
                out_.pages.resize(start->pages);
                page_ = std::move(start->page);
                pageNumber_ = start->pageNumber;
                pagesOfThisSpec_ = start->pagesOfThisSpec;
                line_ = start->line;
                y_ = start->y;
                aggregates_ = std::move(start->aggregates);
                pageHasBody_ = true;
                openGroups_ = g;
                const Restart back{start->row, g};
                for (qsizetype inner = g; inner < qsizetype(starts.size()); ++inner) starts[inner].reset();
                newPage();
                return back;
            }
            start.reset();
        }
        openGroups_ = from;
        return std::nullopt;
    }

    bool hasRows(const PageSpec& p) const {
        return std::any_of(p.sections.begin(), p.sections.end(), [this](const Section& s) {
            return (s.data->usesDataset ? data_.rowCount() : s.data->rowCount) > 0;
        });
    }

    PreparedReport pass() {
        out_ = PreparedReport();
        pageNumber_ = 0;
        for (auto& [node, a] : aggregates_) a = Aggregate{a.expr, a.dataBand, a.owner};
        for (PageSpec& p : pages_) {
            if (!p.printIfEmpty && !hasRows(p)) continue;
            page_spec_ = &p;
            pagesOfThisSpec_ = 0;
            row_ = 0;
            startPage();
            for (Section& s : p.sections) runSection(s);
            row_ = std::max(0, data_.rowCount() - 1);
            printBand(p.summary);
            finishPage(true);
        }
        return std::move(out_);
    }

    const Template& template_;
    const db::ResultSet& data_;
    QString datasetName_;
    std::deque<PageSpec> pages_;
    QHash<QString, QString> variables_;
    QHash<QString, ExprPtr> parsedVariables_;
    QHash<QString, int> columns_;
    std::map<const Expr*, Aggregate> aggregates_;
    bool mentionsTotalPages_ = false;
    bool sizing_ = false; // a pass that only counts the pages
    int variableDepth_ = 0;

    // State of a pass
    PreparedReport out_;
    PreparedPage page_;
    PageSpec* page_spec_ = nullptr;
    Section* section_ = nullptr;
    qsizetype openGroups_ = 0;
    int pagesOfThisSpec_ = 0;
    int pageNumber_ = 0;
    int totalPages_ = 0;
    int row_ = 0;
    int line_ = 0;
    double y_ = 0;
    bool pageHasBody_ = false;
};

} // namespace

PreparedReport prepareReport(const Template& report, const db::ResultSet& data, const QString& datasetName) {
    return Engine(report, data, datasetName).run();
}

std::optional<PreparedItem> designItem(const Node& object, const Node& band) {
    static const Template none;
    static const db::ResultSet noData;
    return Engine(none, noData, DatasetName).designItem(object, band);
}

} // namespace dorvik::reporting
