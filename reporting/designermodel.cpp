#include "reporting/designermodel.h"

#include "reporting/engine.h"
#include "reporting/fr3reader.h"
#include "reporting/fr3writer.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace dorvik::reporting {
namespace {

const QString Page = QStringLiteral("TfrxReportPage");
const QString Name = QStringLiteral("Name");

void collectNames(const Node& n, QSet<QString>& names) {
    if (n.has(Name)) names.insert(n.text(Name).toLower());
    for (const Node& c : n.children) collectNames(c, names);
}

QString px(double v) { return formatNumber(v); }

} // namespace

const QList<BandKind>& bandKinds() {
    static const QList<BandKind> kinds = {
        {QStringLiteral("TfrxReportTitle"), QStringLiteral("Titulek sestavy")},
        {QStringLiteral("TfrxPageHeader"), QStringLiteral("Záhlaví stránky")},
        {QStringLiteral("TfrxColumnHeader"), QStringLiteral("Záhlaví sloupce")},
        {QStringLiteral("TfrxHeader"), QStringLiteral("Záhlaví dat")},
        {QStringLiteral("TfrxGroupHeader"), QStringLiteral("Záhlaví skupiny")},
        {QStringLiteral("TfrxMasterData"), QStringLiteral("Data")},
        {QStringLiteral("TfrxChild"), QStringLiteral("Podřízený pás")},
        {QStringLiteral("TfrxGroupFooter"), QStringLiteral("Zápatí skupiny")},
        {QStringLiteral("TfrxFooter"), QStringLiteral("Zápatí dat")},
        {QStringLiteral("TfrxColumnFooter"), QStringLiteral("Zápatí sloupce")},
        {QStringLiteral("TfrxReportSummary"), QStringLiteral("Souhrn sestavy")},
        {QStringLiteral("TfrxPageFooter"), QStringLiteral("Zápatí stránky")},
    };
    return kinds;
}

QString bandCaption(const QString& tag) {
    for (const BandKind& k : bandKinds())
        if (k.tag == tag) return k.caption;
    return tag;
}

bool isBand(const QString& tag) {
    return std::any_of(bandKinds().begin(), bandKinds().end(), [&](const BandKind& k) { return k.tag == tag; });
}

DesignerModel::DesignerModel(Template report, QString path) : report_(std::move(report)), path_(std::move(path)) {
    // A missing template: an empty A4 page on the program's dataset.
    if (report_.root.tag.isEmpty()) {
        report_.root.tag = QStringLiteral("TfrxReport");
        report_.root.attributes = {{QStringLiteral("Version"), QStringLiteral("4.13")}};
    }
    if (pages().isEmpty())
        report_.root.children.append({Page,
                                      {{Name, QStringLiteral("Page1")}, {QStringLiteral("PaperWidth"), QStringLiteral("210")},
                                       {QStringLiteral("PaperHeight"), QStringLiteral("297")}, {QStringLiteral("PaperSize"), QStringLiteral("9")},
                                       {QStringLiteral("LeftMargin"), QStringLiteral("10")}, {QStringLiteral("RightMargin"), QStringLiteral("10")},
                                       {QStringLiteral("TopMargin"), QStringLiteral("10")}, {QStringLiteral("BottomMargin"), QStringLiteral("10")}},
                                      {}});
    if (report_.datasets.isEmpty()) report_.datasets.append({DatasetName, DatasetName});
}

QList<int> DesignerModel::pages() const {
    QList<int> out;
    for (int i = 0; i < report_.root.children.size(); ++i)
        if (report_.root.children[i].tag == Page) out << i;
    return out;
}

QSizeF DesignerModel::pageSize(int page) const {
    return sheetSize(report_.root.children.at(page));
}

QRectF DesignerModel::contentRect(int page) const {
    return QRectF(QPointF(0, 0), pageSize(page)).marginsRemoved(sheetMargins(report_.root.children.at(page)));
}

const Node& DesignerModel::node(const ObjectRef& ref) const {
    const Node& band = report_.root.children.at(ref.page).children.at(ref.band);
    return ref.isBand() ? band : band.children.at(ref.object);
}

Node& DesignerModel::nodeRef(const ObjectRef& ref) {
    Node& band = report_.root.children[ref.page].children[ref.band];
    return ref.isBand() ? band : band.children[ref.object];
}

QPointF DesignerModel::bandOrigin(const ObjectRef& band) const {
    const Node& n = node(band.bandRef());
    return contentRect(band.page).topLeft() + QPointF(n.number(QStringLiteral("Left")), n.number(QStringLiteral("Top")));
}

QRectF DesignerModel::rect(const ObjectRef& ref) const {
    const Node& n = node(ref);
    const QPointF origin = bandOrigin(ref);
    if (ref.isBand())
        return QRectF(origin, QSizeF(n.number(QStringLiteral("Width"), contentRect(ref.page).width()), n.number(QStringLiteral("Height"))));
    return QRectF(origin + QPointF(n.number(QStringLiteral("Left")), n.number(QStringLiteral("Top"))),
                  QSizeF(n.number(QStringLiteral("Width")), n.number(QStringLiteral("Height"))));
}

QList<ObjectRef> DesignerModel::bands(int page) const {
    QList<ObjectRef> out;
    const QList<Node>& children = report_.root.children.at(page).children;
    for (int i = 0; i < children.size(); ++i)
        if (isBand(children[i].tag)) out.append({page, i, -1});
    return out;
}

QList<ObjectRef> DesignerModel::objects(const ObjectRef& band) const {
    QList<ObjectRef> out;
    for (int i = 0; i < node(band).children.size(); ++i) out.append({band.page, band.band, i});
    return out;
}

std::optional<ObjectRef> DesignerModel::hit(int page, QPointF at) const {
    const QList<ObjectRef> all = bands(page);
    for (auto b = all.rbegin(); b != all.rend(); ++b) {
        const QList<ObjectRef> objs = objects(*b);
        for (auto o = objs.rbegin(); o != objs.rend(); ++o)
            if (rect(*o).normalized().adjusted(-3, -3, 3, 3).contains(at)) return *o;
    }
    for (auto b = all.rbegin(); b != all.rend(); ++b)
        if (rect(*b).contains(at)) return *b;
    return std::nullopt;
}

void DesignerModel::select(QList<ObjectRef> refs) {
    selection_ = std::move(refs);
    lastMerge_.clear();
}

std::optional<ObjectRef> DesignerModel::targetBand(int page) const {
    for (const ObjectRef& r : selection_)
        if (r.page == page) return r.bandRef();
    const QList<ObjectRef> all = bands(page);
    for (const ObjectRef& b : all)
        if (node(b).tag == QLatin1String("TfrxMasterData")) return b;
    if (all.isEmpty()) return std::nullopt;
    return all.first();
}

double DesignerModel::snapped(double v) const { return snap_ ? std::round(v / grid_) * grid_ : v; }

void DesignerModel::step(const QString& mergeKey) {
    if (mergeKey.isEmpty() || mergeKey != lastMerge_) {
        undo_.append({report_, selection_});
        redo_.clear();
    }
    lastMerge_ = mergeKey;
    modified_ = true;
}

void DesignerModel::shiftBandsBelow(const ObjectRef& band, double oldBottom, double delta) {
    for (const ObjectRef& b : bands(band.page)) {
        Node& n = nodeRef(b);
        if (b != band && n.number(QStringLiteral("Top")) >= oldBottom - 0.5)
            n.set(QStringLiteral("Top"), px(n.number(QStringLiteral("Top")) + delta));
    }
}

bool DesignerModel::moveBand(const ObjectRef& band, int direction) {
    QList<ObjectRef> order = bands(band.page);
    std::stable_sort(order.begin(), order.end(), [this](const ObjectRef& a, const ObjectRef& b) {
        return node(a).number(QStringLiteral("Top")) < node(b).number(QStringLiteral("Top"));
    });
    const qsizetype at = order.indexOf(band), other = at + direction;
    if (at < 0 || other < 0 || other >= order.size()) return false;
    const ObjectRef upper = order[std::min(at, other)], lower = order[std::max(at, other)];
    const double top = node(upper).number(QStringLiteral("Top"));
    const double gap = node(lower).number(QStringLiteral("Top")) - top - node(upper).number(QStringLiteral("Height"));
    step();
    nodeRef(lower).set(QStringLiteral("Top"), px(top));
    nodeRef(upper).set(QStringLiteral("Top"), px(top + node(lower).number(QStringLiteral("Height")) + gap));
    return true;
}

void DesignerModel::moveSelection(double dx, double dy) {
    QList<QPair<ObjectRef, QRectF>> rects;
    for (const ObjectRef& r : selection_)
        if (!r.isBand()) rects.append({r, rect(r).translated(dx, dy)});
    if (!rects.isEmpty()) setRects(rects, true);
}

void DesignerModel::settleSelection() {
    struct Move {
        ObjectRef from;
        ObjectRef to;
        QRectF box;
    };
    QList<Move> moves;
    for (const ObjectRef& r : selection_) {
        if (r.isBand()) continue;
        const QRectF box = rect(r);
        const auto holds = [&](const ObjectRef& band) {
            const QRectF area = rect(band);
            return area.top() <= box.top() && box.top() < area.bottom();
        };
        if (holds(r.bandRef())) continue;
        for (const ObjectRef& band : bands(r.page))
            if (holds(band)) {
                moves.append({r, band, box});
                break;
            }
    }
    if (moves.isEmpty()) return;
    // Out of their bands from the last one backwards, so that the other indices hold.
    std::sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) { return std::tie(a.from.band, a.from.object) > std::tie(b.from.band, b.from.object); });
    QList<Node> taken;
    for (const Move& m : moves) taken.append(nodeRef(m.from.bandRef()).children.takeAt(m.from.object));
    QList<ObjectRef> settled;
    for (ObjectRef r : selection_) {
        if (std::any_of(moves.cbegin(), moves.cend(), [&](const Move& m) { return m.from == r; })) continue;
        if (!r.isBand())
            r.object -= int(std::count_if(moves.cbegin(), moves.cend(), [&](const Move& m) { return m.from.band == r.band && m.from.object < r.object; }));
        settled.append(r);
    }
    for (qsizetype i = 0; i < moves.size(); ++i) {
        Node& band = nodeRef(moves[i].to);
        const QPointF origin = bandOrigin(moves[i].to);
        taken[i].set(QStringLiteral("Left"), px(moves[i].box.left() - origin.x()));
        taken[i].set(QStringLiteral("Top"), px(moves[i].box.top() - origin.y()));
        band.children.append(taken[i]);
        settled.append({moves[i].to.page, moves[i].to.band, int(band.children.size()) - 1});
    }
    selection_ = settled;
}

void DesignerModel::resizeSelection(double dw, double dh) {
    QList<QPair<ObjectRef, QRectF>> rects;
    for (const ObjectRef& r : selection_) {
        QRectF box = rect(r);
        box.setSize(QSizeF(std::max(0.0, box.width() + dw), std::max(0.0, box.height() + dh)));
        rects.append({r, box});
    }
    if (!rects.isEmpty()) setRects(rects, true);
}

void DesignerModel::setRects(const QList<QPair<ObjectRef, QRectF>>& rects, bool newStep) {
    if (newStep) step();
    for (const auto& [ref, box] : rects) {
        Node& n = nodeRef(ref);
        if (ref.isBand()) {
            const double oldHeight = n.number(QStringLiteral("Height"));
            if (std::fabs(box.height() - oldHeight) < 1e-9) continue;
            n.set(QStringLiteral("Height"), px(box.height()));
            shiftBandsBelow(ref, n.number(QStringLiteral("Top")) + oldHeight, box.height() - oldHeight);
            continue;
        }
        const QRectF old = rect(ref);
        const QPointF origin = bandOrigin(ref);
        // Only what changed is written, so an untouched coordinate keeps its text.
        if (std::fabs(box.left() - old.left()) > 1e-9) n.set(QStringLiteral("Left"), px(box.left() - origin.x()));
        if (std::fabs(box.top() - old.top()) > 1e-9) n.set(QStringLiteral("Top"), px(box.top() - origin.y()));
        if (std::fabs(box.width() - old.width()) > 1e-9) n.set(QStringLiteral("Width"), px(box.width()));
        if (std::fabs(box.height() - old.height()) > 1e-9) n.set(QStringLiteral("Height"), px(box.height()));
    }
}

void DesignerModel::setAttribute(const QString& name, const QString& value, const QString& defaultValue) {
    if (value == defaultValue) setAttributes({}, {name});
    else setAttributes({{name, value}});
}

void DesignerModel::setAttributes(const QList<Attribute>& values, const QStringList& removed) {
    if (selection_.isEmpty()) return;
    QString key;
    for (const Attribute& a : values) key += a.name + QLatin1Char(';');
    for (const QString& r : removed) key += r + QLatin1Char(';');
    step(key);
    for (const ObjectRef& ref : selection_) {
        Node& n = nodeRef(ref);
        for (const QString& r : removed) n.remove(r);
        for (const Attribute& a : values) {
            if (ref.isBand() && a.name == QLatin1String("Height")) {
                const double oldHeight = n.number(a.name);
                n.set(a.name, a.value);
                shiftBandsBelow(ref, n.number(QStringLiteral("Top")) + oldHeight, n.number(a.name) - oldHeight);
            } else {
                n.set(a.name, a.value);
            }
        }
    }
}

QString DesignerModel::uniqueName(const QString& prefix) const {
    QSet<QString> names;
    collectNames(report_.root, names);
    for (int i = 1;; ++i)
        if (!names.contains((prefix + QString::number(i)).toLower())) return prefix + QString::number(i);
}

ObjectRef DesignerModel::insertObject(ObjectKind kind, const ObjectRef& band, QPointF at) {
    struct Shape {
        const char* tag;
        const char* prefix;
        double width, height;
    };
    static const Shape shapes[] = {
        {"TfrxMemoView", "Memo", 100, 18}, {"TfrxLineView", "Line", 100, 0}, {"TfrxShapeView", "Shape", 100, 48},
        {"TfrxPictureView", "Picture", 96, 96}, {"TfrxBarCodeView", "BarCode", 160, 48},
    };
    const Shape& s = shapes[int(kind)];
    const QPointF origin = bandOrigin(band);
    Node n{QLatin1String(s.tag),
           {{Name, uniqueName(QLatin1String(s.prefix))},
            {QStringLiteral("Left"), px(std::max(0.0, snapped(at.x() - origin.x())))},
            {QStringLiteral("Top"), px(std::max(0.0, snapped(at.y() - origin.y())))},
            {QStringLiteral("Width"), px(s.width)},
            {QStringLiteral("Height"), px(s.height)}},
           {}};
    if (kind == ObjectKind::Line) n.set(QStringLiteral("Frame.Typ"), QStringLiteral("4"));
    if (kind == ObjectKind::Barcode) {
        n.set(QStringLiteral("BarType"), QStringLiteral("bcCode128"));
        n.set(QStringLiteral("Text"), QStringLiteral("12345678"));
    }
    step();
    Node& b = nodeRef(band.bandRef());
    b.children.append(n);
    const ObjectRef ref{band.page, band.band, int(b.children.size()) - 1};
    selection_ = {ref};
    return ref;
}

ObjectRef DesignerModel::insertMemo(const ObjectRef& band, QPointF at, const QString& text) {
    const ObjectRef ref = insertObject(ObjectKind::Memo, band, at);
    nodeRef(ref).set(QStringLiteral("Text"), text);
    return ref;
}

ObjectRef DesignerModel::addBand(int page, const QString& tag) {
    double bottom = 0;
    for (const ObjectRef& b : bands(page))
        bottom = std::max(bottom, node(b).number(QStringLiteral("Top")) + node(b).number(QStringLiteral("Height")));
    QString prefix = tag.mid(4);
    Node n{tag,
           {{Name, uniqueName(prefix)}, {QStringLiteral("Height"), px(24)}, {QStringLiteral("Left"), QStringLiteral("0")},
            {QStringLiteral("Top"), px(bottom + (bottom > 0 ? 16 : 0))}, {QStringLiteral("Width"), px(contentRect(page).width())}},
           {}};
    if (tag == QLatin1String("TfrxMasterData")) {
        n.set(QStringLiteral("DataSet"), DatasetName);
        n.set(QStringLiteral("DataSetName"), DatasetName);
    }
    step();
    QList<Node>& children = report_.root.children[page].children;
    children.append(n);
    const ObjectRef ref{page, int(children.size()) - 1, -1};
    selection_ = {ref};
    return ref;
}

void DesignerModel::deleteSelection() {
    if (selection_.isEmpty()) return;
    QList<ObjectRef> refs = selection_;
    std::sort(refs.begin(), refs.end(), [](const ObjectRef& a, const ObjectRef& b) {
        return std::tie(a.page, a.band, a.object) > std::tie(b.page, b.band, b.object);
    });
    step();
    for (const ObjectRef& r : refs) {
        if (!r.isBand() && selection_.contains(r.bandRef())) continue;
        QList<Node>& siblings = r.isBand() ? report_.root.children[r.page].children : nodeRef(r.bandRef()).children;
        siblings.removeAt(r.isBand() ? r.band : r.object);
    }
    selection_.clear();
}

QByteArray DesignerModel::copySelection() const {
    Template fragment;
    fragment.root.tag = QStringLiteral("TfrxReport");
    for (const ObjectRef& r : selection_)
        if (!r.isBand()) fragment.root.children.append(node(r));
    return fragment.root.children.isEmpty() ? QByteArray() : templateXml(fragment);
}

void DesignerModel::paste(const QByteArray& fragment, int page) {
    const std::optional<ObjectRef> band = targetBand(page);
    if (!band || fragment.isEmpty()) return;
    const Template pasted = parseTemplate(fragment);
    step();
    QList<ObjectRef> added;
    for (Node n : pasted.root.children) {
        if (isBand(n.tag) || n.tag == Page) continue;
        Node& b = nodeRef(*band);
        // Over a copy of itself the paste would be invisible; it goes one grid step aside.
        const bool covers = std::any_of(b.children.begin(), b.children.end(), [&](const Node& o) {
            return o.text(QStringLiteral("Left")) == n.text(QStringLiteral("Left")) && o.text(QStringLiteral("Top")) == n.text(QStringLiteral("Top"));
        });
        if (covers) {
            n.set(QStringLiteral("Left"), px(n.number(QStringLiteral("Left")) + grid_ * 2));
            n.set(QStringLiteral("Top"), px(n.number(QStringLiteral("Top")) + grid_ * 2));
        }
        QString prefix = n.text(Name, n.tag.mid(4));
        while (!prefix.isEmpty() && prefix.back().isDigit()) prefix.chop(1);
        n.set(Name, uniqueName(prefix.isEmpty() ? n.tag.mid(4) : prefix));
        b.children.append(n);
        added.append({band->page, band->band, int(b.children.size()) - 1});
    }
    selection_ = added;
}

void DesignerModel::undo() {
    if (undo_.isEmpty()) return;
    redo_.append({report_, selection_});
    const State s = undo_.takeLast();
    report_ = s.report;
    selection_ = s.selection;
    lastMerge_.clear();
    modified_ = true;
}

void DesignerModel::redo() {
    if (redo_.isEmpty()) return;
    undo_.append({report_, selection_});
    const State s = redo_.takeLast();
    report_ = s.report;
    selection_ = s.selection;
    lastMerge_.clear();
    modified_ = true;
}

void DesignerModel::save() {
    writeTemplate(report_, path_);
    modified_ = false;
}

} // namespace dorvik::reporting
