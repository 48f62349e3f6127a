#include "reporting/designerwindow.h"

#include "common/errordisplay.h"
#include "common/prompter.h"
#include "reporting/engine.h"
#include "reporting/fr3writer.h"
#include "reporting/previewwindow.h"
#include "reporting/zoomactions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QSyntaxHighlighter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace dorvik::reporting {
namespace {

const QString ClipboardType = QStringLiteral("application/x-dorvik-fr3");
constexpr double Border = 12; // px of desk around the sheet

QString fieldExpression(const QString& field) { return QStringLiteral("[%1.\"%2\"]").arg(DatasetName, field); }

// Delphi TColor text of a colour; an invalid colour is clNone.
QString delphiColorText(const QColor& c) {
    if (!c.isValid()) return QStringLiteral("536870911");
    return QString::number(c.red() | c.green() << 8 | c.blue() << 16);
}

QColor colorOf(const Node& n, const QString& name, const QColor& fallback) {
    if (!n.has(name)) return fallback;
    const qint64 v = n.text(name).toLongLong();
    if (v == 536870911 || v < 0) return {};
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

// Expressions in brackets stand out in the text editor.
class ExpressionHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        QTextCharFormat f;
        f.setForeground(QColor(0x00, 0x50, 0xA0));
        f.setFontWeight(QFont::Bold);
        int depth = previousBlockState() > 0 ? previousBlockState() : 0, start = 0;
        bool quoted = false;
        for (int i = 0; i < text.size(); ++i) {
            if (depth > 0 && text[i] == QLatin1Char('\'')) quoted = !quoted;
            if (quoted) continue;
            if (text[i] == QLatin1Char('[') && depth++ == 0) start = i;
            else if (text[i] == QLatin1Char(']') && depth > 0 && --depth == 0) setFormat(start, i - start + 1, f);
        }
        if (depth > 0) setFormat(start, int(text.size()) - start, f);
        setCurrentBlockState(depth);
    }
};

} // namespace

// The sheet at the window's zoom: bands, objects as written, the grid and the selection.
class DesignView : public QWidget {
public:
    explicit DesignView(DesignerWindow* window) : QWidget(window), w_(window) {
        setObjectName(QStringLiteral("NavrhStranky"));
        setAccessibleName(QStringLiteral("Návrh stránky"));
        setFocusPolicy(Qt::StrongFocus);
        setAcceptDrops(true);
        setMouseTracking(true);
    }

    double factor() const { return w_->zoom() * logicalDpiX() / 96.0; }
    QPointF toSheet(QPointF widget) const { return widget / factor() - QPointF(Border, Border); }

    // The objects drawn by the engine, rebuilt after every change.
    void rebuild() {
        DesignerModel& m = w_->model();
        page_ = PreparedPage();
        page_.size = m.pageSize(w_->page());
        page_.background = Qt::transparent;
        for (const ObjectRef& band : m.bands(w_->page())) {
            const QPointF origin = m.rect(band).topLeft();
            for (const ObjectRef& o : m.objects(band)) {
                std::optional<PreparedItem> item = designItem(m.node(o), m.node(band));
                if (!item) continue;
                item->rect.translate(origin);
                page_.items.append(std::move(*item));
            }
        }
        resize(((page_.size + QSizeF(2 * Border, 2 * Border)) * factor()).toSize());
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        DesignerModel& m = w_->model();
        const int page = w_->page();
        QPainter p(this);
        p.fillRect(rect(), palette().dark());
        p.scale(factor(), factor());
        p.translate(Border, Border);
        p.fillRect(QRectF(QPointF(0, 0), page_.size), Qt::white);
        const QRectF content = m.contentRect(page);
        p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0, Qt::DashLine));
        p.drawRect(content);
        QFont captionFont = font();
        captionFont.setPointSizeF(7);
        p.setFont(captionFont);
        for (const ObjectRef& band : m.bands(page)) {
            const QRectF r = m.rect(band);
            const Node& n = m.node(band);
            p.fillRect(r, QColor(0xEE, 0xF3, 0xFA));
            p.setPen(QPen(QColor(0x9A, 0xB0, 0xD0), 0));
            p.drawLine(r.bottomLeft(), r.bottomRight());
            QString caption = n.text(QStringLiteral("Name")) + QStringLiteral(": ") + bandCaption(n.tag);
            const QString dataset = n.text(QStringLiteral("DataSetName"), n.text(QStringLiteral("DataSet")));
            if (!dataset.isEmpty()) caption += QStringLiteral(" (%1)").arg(dataset);
            p.setPen(QColor(0x50, 0x6A, 0x90));
            p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignTop, caption);
            if (m.snap() && w_->zoom() >= 0.75) {
                QPolygonF dots;
                for (double y = 0; y <= r.height(); y += m.grid() * 2)
                    for (double x = 0; x <= r.width(); x += m.grid() * 2) dots << r.topLeft() + QPointF(x, y);
                p.setPen(QPen(QColor(0xB8, 0xC4, 0xD8), 0));
                p.drawPoints(dots);
            }
        }
        paintPage(p, page_);
        p.setBrush(Qt::NoBrush);
        for (const ObjectRef& s : m.selection()) {
            if (s.page != page) continue;
            const QRectF r = m.rect(s).normalized();
            p.setPen(QPen(QColor(0x00, 0x60, 0xE0), 0, s.isBand() ? Qt::DashLine : Qt::SolidLine));
            p.drawRect(r);
            if (!s.isBand())
                for (const QPointF c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                    p.fillRect(QRectF(c - QPointF(2.5, 2.5), QSizeF(5, 5)), QColor(0x00, 0x60, 0xE0));
        }
        if (!rubber_.isNull()) {
            p.setPen(QPen(QColor(0x00, 0x60, 0xE0), 0, Qt::DotLine));
            p.drawRect(rubber_.normalized());
        }
    }

    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        DesignerModel& m = w_->model();
        const QPointF at = toSheet(e->position());
        start_ = at;
        moved_ = false;
        mode_ = Mode::None;
        // The bottom right corner of a selected object, or a band's bottom edge, resizes.
        for (const ObjectRef& s : m.selection()) {
            const QRectF r = m.rect(s).normalized();
            if ((!s.isBand() && QLineF(r.bottomRight(), at).length() < 5) ||
                (s.isBand() && std::fabs(at.y() - r.bottom()) < 3 && r.left() <= at.x() && at.x() <= r.right())) {
                mode_ = Mode::Resize;
                remember();
                return;
            }
        }
        const std::optional<ObjectRef> hit = m.hit(w_->page(), at);
        QList<ObjectRef> selection = m.selection();
        if (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
            if (hit) {
                if (selection.contains(*hit)) selection.removeAll(*hit);
                else selection.append(*hit);
            }
            m.select(selection);
        } else if (!hit || hit->isBand()) {
            m.select(hit ? QList<ObjectRef>{*hit} : QList<ObjectRef>{});
            mode_ = Mode::Rubber;
            rubber_ = QRectF(at, at);
        } else {
            if (!selection.contains(*hit)) m.select({*hit});
            mode_ = Mode::Move;
            remember();
        }
        w_->changed();
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        DesignerModel& m = w_->model();
        const QPointF at = toSheet(e->position());
        if (!(e->buttons() & Qt::LeftButton) || mode_ == Mode::None) return;
        const QPointF d(m.snapped(at.x() - start_.x()), m.snapped(at.y() - start_.y()));
        if (mode_ == Mode::Rubber) {
            rubber_.setBottomRight(at);
            update();
            return;
        }
        if (d.isNull() && !moved_) return;
        QList<QPair<ObjectRef, QRectF>> rects;
        for (const auto& [ref, r] : original_) {
            QRectF box = r;
            if (mode_ == Mode::Move) box.translate(d);
            else box.setSize(QSizeF(std::max(0.0, r.width() + (ref.isBand() ? 0 : d.x())), std::max(0.0, r.height() + d.y())));
            rects.append({ref, box});
        }
        m.setRects(rects, !moved_);
        moved_ = true;
        w_->changed();
    }

    void mouseReleaseEvent(QMouseEvent*) override {
        if (mode_ == Mode::Rubber && rubber_.width() != 0 && rubber_.height() != 0) {
            DesignerModel& m = w_->model();
            QList<ObjectRef> inside;
            for (const ObjectRef& band : m.bands(w_->page()))
                for (const ObjectRef& o : m.objects(band))
                    if (rubber_.normalized().intersects(m.rect(o).normalized().adjusted(-1, -1, 1, 1))) inside << o;
            if (!inside.isEmpty()) m.select(inside);
        }
        if (mode_ == Mode::Move && moved_) w_->model().settleSelection();
        rubber_ = QRectF();
        mode_ = Mode::None;
        w_->changed();
    }

    void keyPressEvent(QKeyEvent* e) override {
        DesignerModel& m = w_->model();
        const double g = m.grid();
        QPointF d;
        switch (e->key()) {
        case Qt::Key_Left: d = {-g, 0}; break;
        case Qt::Key_Right: d = {g, 0}; break;
        case Qt::Key_Up: d = {0, -g}; break;
        case Qt::Key_Down: d = {0, g}; break;
        default: QWidget::keyPressEvent(e); return;
        }
        const QList<ObjectRef>& selection = m.selection();
        if (selection.size() == 1 && selection.first().isBand() && d.y() != 0 && !(e->modifiers() & Qt::ShiftModifier)) {
            // Up and down take a selected band past its neighbour.
            m.moveBand(selection.first(), d.y() < 0 ? -1 : 1);
            w_->changed();
            return;
        }
        if (e->modifiers() & Qt::ShiftModifier) m.resizeSelection(d.x(), d.y());
        else m.moveSelection(d.x(), d.y());
        w_->changed();
    }

    void dragEnterEvent(QDragEnterEvent* e) override {
        if (e->mimeData()->hasText()) e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* e) override { e->acceptProposedAction(); }
    void dropEvent(QDropEvent* e) override {
        DesignerModel& m = w_->model();
        const QPointF at = toSheet(e->position());
        std::optional<ObjectRef> band = m.hit(w_->page(), at);
        if (band) band = band->bandRef();
        else band = m.targetBand(w_->page());
        if (!band) return;
        m.insertMemo(*band, at, e->mimeData()->text());
        e->acceptProposedAction();
        w_->changed();
    }

private:
    void remember() {
        original_.clear();
        for (const ObjectRef& s : w_->model().selection()) original_.append({s, w_->model().rect(s)});
    }

    enum class Mode { None, Move, Resize, Rubber };
    DesignerWindow* w_;
    PreparedPage page_;
    Mode mode_ = Mode::None;
    QPointF start_;
    bool moved_ = false;
    QRectF rubber_;
    QList<QPair<ObjectRef, QRectF>> original_;
};

namespace {

// Field and variable lists drag the expression they stand for.
class ExpressionList : public QListWidget {
public:
    ExpressionList(const char* name, QWidget* parent) : QListWidget(parent) {
        setObjectName(QLatin1String(name));
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragOnly);
    }

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
        if (items.isEmpty()) return nullptr;
        auto* data = new QMimeData;
        data->setText(items.first()->data(Qt::UserRole).toString());
        return data;
    }
};

} // namespace

DesignerWindow::DesignerWindow(Template report, QString path, db::ResultSet data, QWidget* parent)
    : QDialog(parent), model_(std::move(report), std::move(path)), data_(std::move(data)) {
    setObjectName(QStringLiteral("DesignerWindow"));
    setWindowTitle(QStringLiteral("Návrh sestavy – %1[*]").arg(QFileInfo(model_.path()).fileName()));
    setModal(true);
    resize(1280, 860);
    page_ = model_.pages().first();

    auto* tools = new QToolBar(this);
    const auto action = [&](const char* name, const QString& caption, const QList<QKeySequence>& keys, auto handler) {
        QAction* a = tools->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcuts(keys);
        a->setToolTip(keys.isEmpty() ? caption : caption + QStringLiteral(" (") + keys.first().toString(QKeySequence::NativeText) + QLatin1Char(')'));
        connect(a, &QAction::triggered, this, [this, handler] { common::guarded([&] { (this->*handler)(); }); });
        return a;
    };
    action("Ulozit", QStringLiteral("Uložit"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, &DesignerWindow::UlozitClick);
    action("Nahled", QStringLiteral("Náhled"), {QKeySequence(Qt::Key_F5)}, &DesignerWindow::NahledClick);
    tools->addSeparator();
    undo_ = action("Zpet", QStringLiteral("Zpět"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &DesignerWindow::ZpetClick);
    redo_ = action("Znovu", QStringLiteral("Znovu"), {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                   &DesignerWindow::ZnovuClick);
    selectionActions_ << action("Vyjmout", QStringLiteral("Vyjmout"), {QKeySequence(Qt::CTRL | Qt::Key_X)}, &DesignerWindow::VyjmoutClick)
                      << action("Kopirovat", QStringLiteral("Kopírovat"), {QKeySequence(Qt::CTRL | Qt::Key_C)}, &DesignerWindow::KopirovatClick);
    action("Vlozit", QStringLiteral("Vložit"), {QKeySequence(Qt::CTRL | Qt::Key_V)}, &DesignerWindow::VlozitClick);
    selectionActions_ << action("Smazat", QStringLiteral("Smazat"), {QKeySequence(Qt::Key_Delete)}, &DesignerWindow::SmazatClick);
    tools->addSeparator();
    const auto inserter = [&](const char* name, const QString& caption, ObjectKind kind) {
        QAction* a = tools->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, kind] { common::guarded([&] { insert(kind); }); });
    };
    inserter("VlozitText", QStringLiteral("Text"), ObjectKind::Memo);
    inserter("VlozitCaru", QStringLiteral("Čára"), ObjectKind::Line);
    inserter("VlozitObdelnik", QStringLiteral("Obdélník"), ObjectKind::Rectangle);
    inserter("VlozitObrazek", QStringLiteral("Obrázek"), ObjectKind::Picture);
    inserter("VlozitKod", QStringLiteral("Čárový kód"), ObjectKind::Barcode);
    auto* bandMenu = new QMenu(this);
    for (const BandKind& k : bandKinds()) {
        QAction* a = bandMenu->addAction(k.caption);
        a->setObjectName(QStringLiteral("Pas") + k.tag.mid(4));
        connect(a, &QAction::triggered, this, [this, tag = k.tag] {
            model_.addBand(page_, tag);
            changed();
        });
    }
    auto* addBand = new QToolButton(this);
    addBand->setObjectName(QStringLiteral("PridatPas"));
    addBand->setText(QStringLiteral("Přidat pás"));
    addBand->setMenu(bandMenu);
    addBand->setPopupMode(QToolButton::InstantPopup);
    tools->addWidget(addBand);
    const auto bandMover = [&](const char* name, const QString& caption, int direction) {
        QAction* a = tools->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(caption + QStringLiteral(" (šipka u vybraného pásu)"));
        connect(a, &QAction::triggered, this, [this, direction] {
            if (model_.selection().size() == 1 && model_.moveBand(model_.selection().first(), direction)) changed();
        });
        return a;
    };
    bandActions_ << bandMover("PasVys", QStringLiteral("Pás výš"), -1) << bandMover("PasNiz", QStringLiteral("Pás níž"), 1);
    tools->addSeparator();
    QAction* grid = tools->addAction(QStringLiteral("Mřížka"));
    grid->setObjectName(QStringLiteral("Mrizka"));
    grid->setCheckable(true);
    grid->setChecked(model_.snap());
    connect(grid, &QAction::toggled, this, [this](bool on) {
        model_.setSnap(on);
        changed();
    });
    view_ = new DesignView(this);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(view_);
    scroll_->setBackgroundRole(QPalette::Dark);
    addZoomActions(tools, scroll_, [this] { return zoom_; }, [this](double z) { setZoom(z); });

    auto* side = new QTabWidget(this);
    side->setObjectName(QStringLiteral("Panel"));
    auto* panel = new QWidget;
    buildPanel(panel);
    auto* panelScroll = new QScrollArea;
    panelScroll->setWidget(panel);
    panelScroll->setWidgetResizable(true);
    side->addTab(panelScroll, QStringLiteral("Vlastnosti"));

    fields_ = new ExpressionList("SeznamPoli", side);
    for (const QString& column : data_.columnNames()) {
        auto* item = new QListWidgetItem(column, fields_);
        item->setData(Qt::UserRole, fieldExpression(column));
    }
    connect(fields_, &QListWidget::itemDoubleClicked, this, &DesignerWindow::SeznamPoliDoubleClick);
    side->addTab(fields_, QStringLiteral("Pole (%1)").arg(DatasetName));
    variables_ = new ExpressionList("SeznamPromennych", side);
    for (const Variable& v : model_.report().variables) {
        if (v.name.startsWith(QLatin1Char(' '))) continue; // a category heading, not a variable
        auto* item = new QListWidgetItem(v.name, variables_);
        item->setToolTip(v.value);
        item->setData(Qt::UserRole, QStringLiteral("[%1]").arg(v.name));
    }
    connect(variables_, &QListWidget::itemDoubleClicked, this, &DesignerWindow::SeznamPromennychDoubleClick);
    side->addTab(variables_, QStringLiteral("Proměnné"));

    auto* split = new QSplitter(this);
    split->addWidget(scroll_);
    split->addWidget(side);
    split->setStretchFactor(0, 1);
    // The properties are read whole; the sheet scrolls.
    side->setMinimumWidth(panel->sizeHint().width() + panelScroll->verticalScrollBar()->sizeHint().width() + 2 * panelScroll->frameWidth() + 8);
    split->setSizes({900, side->minimumWidth()});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(split, 1);
    changed();
    view_->setFocus();
}

DesignerWindow::~DesignerWindow() = default;

void DesignerWindow::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.25, 6.0);
    view_->rebuild();
}

void DesignerWindow::buildPanel(QWidget* panel) {
    form_ = new QFormLayout(panel);
    kind_ = new QLabel(panel);
    kind_->setObjectName(QStringLiteral("Druh"));
    QFont bold = kind_->font();
    bold.setBold(true);
    kind_->setFont(bold);
    form_->addRow(kind_);

    const auto commit = [this](auto f) {
        return [this, f](auto&&...) {
            if (filling_ || model_.selection().isEmpty()) return;
            common::guarded(f);
            changed();
        };
    };
    const auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    name_ = new QLineEdit(panel);
    form_->addRow(QStringLiteral("&Název"), named(name_, "Nazev"));
    connect(name_, &QLineEdit::editingFinished, this, commit([this] {
        if (model_.selection().size() == 1 && !name_->text().trimmed().isEmpty()) model_.setAttribute(QStringLiteral("Name"), name_->text().trimmed());
    }));
    const auto spin = [&](QDoubleSpinBox*& box, const char* name, const QString& label, const char* attribute) {
        box = new QDoubleSpinBox(panel);
        box->setRange(-10000, 10000);
        box->setDecimals(2);
        box->setSuffix(QStringLiteral(" px"));
        form_->addRow(label, named(box, name));
        connect(box, &QDoubleSpinBox::valueChanged, this,
                commit([this, box, attribute] { model_.setAttribute(QLatin1String(attribute), formatNumber(box->value()));}));
    };
    spin(left_, "Vlevo", QStringLiteral("V&levo"), "Left");
    spin(top_, "Nahore", QStringLiteral("Na&hoře"), "Top");
    spin(width_, "Sirka", QStringLiteral("Šíř&ka"), "Width");
    spin(height_, "Vyska", QStringLiteral("&Výška"), "Height");

    text_ = new QPlainTextEdit(panel);
    text_->setMinimumHeight(90);
    text_->setTabChangesFocus(true);
    new ExpressionHighlighter(text_->document());
    form_->addRow(QStringLiteral("&Text"), named(text_, "Text"));
    text_->setToolTip(QStringLiteral("Výrazy v hranatých závorkách: [frxDBDataset1.\"POLE\"], [<proměnná>], [Page#],\n"
                                     "[FormatFloat('#,##0.00', <frxDBDataset1.\"CENA\">)], [SUM(<frxDBDataset1.\"CENA\">, MasterData1)]"));
    connect(text_, &QPlainTextEdit::textChanged, this, commit([this] {
        const bool barcode = model_.node(model_.selection().first()).tag == QLatin1String("TfrxBarCodeView");
        model_.setAttributes({{barcode ? QStringLiteral("Expression") : QStringLiteral("Text"), text_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"))}});
    }));

    dataField_ = new QComboBox(panel);
    dataField_->addItem(QString());
    dataField_->addItems(data_.columnNames());
    form_->addRow(QStringLiteral("&Datové pole"), named(dataField_, "DatovePole"));
    connect(dataField_, &QComboBox::activated, this, commit([this] {
        if (dataField_->currentText().isEmpty())
            model_.setAttributes({}, {QStringLiteral("DataField"), QStringLiteral("DataSet"), QStringLiteral("DataSetName")});
        else
            model_.setAttributes({{QStringLiteral("DataSet"), DatasetName}, {QStringLiteral("DataSetName"), DatasetName},
                                  {QStringLiteral("DataField"), dataField_->currentText()}});
    }));

    font_ = new QFontComboBox(panel);
    form_->addRow(QStringLiteral("&Písmo"), named(font_, "Pismo"));
    fontSize_ = new QSpinBox(panel);
    fontSize_->setRange(4, 96);
    fontSize_->setSuffix(QStringLiteral(" b"));
    form_->addRow(QStringLiteral("Velikost pís&ma"), named(fontSize_, "VelikostPisma"));
    auto* styles = new QWidget(panel);
    auto* stylesLayout = new QHBoxLayout(styles);
    stylesLayout->setContentsMargins(0, 0, 0, 0);
    bold_ = new QCheckBox(QStringLiteral("&Tučné"), styles);
    italic_ = new QCheckBox(QStringLiteral("&Kurzíva"), styles);
    underline_ = new QCheckBox(QStringLiteral("&Podtržené"), styles);
    for (QCheckBox* c : {bold_, italic_, underline_}) stylesLayout->addWidget(c);
    bold_->setObjectName(QStringLiteral("Tucne"));
    italic_->setObjectName(QStringLiteral("Kurziva"));
    underline_->setObjectName(QStringLiteral("Podtrzene"));
    form_->addRow(QStringLiteral("Řez písma"), named(styles, "RezPisma"));
    styles->setAccessibleName(QStringLiteral("Řez písma"));
    fontColor_ = new QToolButton(panel);
    form_->addRow(QStringLiteral("Barva písma"), named(fontColor_, "BarvaPisma"));
    // The object gets a font of its own: every Font attribute, no longer the band's.
    const auto applyFont = [this](const QColor& color) {
        const Node& n = model_.node(model_.selection().first());
        const int style = (bold_->isChecked() ? 1 : 0) | (italic_->isChecked() ? 2 : 0) | (underline_->isChecked() ? 4 : 0);
        QList<Attribute> values = {{QStringLiteral("Font.Charset"), n.text(QStringLiteral("Font.Charset"), QStringLiteral("1"))},
                                   {QStringLiteral("Font.Color"), color.isValid() ? delphiColorText(color) : n.text(QStringLiteral("Font.Color"), QStringLiteral("0"))},
                                   {QStringLiteral("Font.Height"), QString::number(-std::lround(fontSize_->value() * 96.0 / 72.0))},
                                   {QStringLiteral("Font.Name"), font_->currentFont().family()},
                                   {QStringLiteral("Font.Style"), QString::number(style)},
                                   {QStringLiteral("ParentFont"), QStringLiteral("False")}};
        model_.setAttributes(values);
    };
    connect(font_, &QFontComboBox::currentFontChanged, this, commit([applyFont] { applyFont(QColor()); }));
    connect(fontSize_, &QSpinBox::valueChanged, this, commit([applyFont] { applyFont(QColor()); }));
    for (QCheckBox* c : {bold_, italic_, underline_}) connect(c, &QCheckBox::toggled, this, commit([applyFont] { applyFont(QColor()); }));

    // Colour buttons: none, black, white or any from the colour dialog.
    const auto colorMenu = [this, commit](QToolButton* button, auto apply, bool allowNone) {
        auto* menu = new QMenu(button);
        if (allowNone) connect(menu->addAction(QStringLiteral("Žádná")), &QAction::triggered, this, commit([apply] { apply(QColor()); }));
        connect(menu->addAction(QStringLiteral("Černá")), &QAction::triggered, this, commit([apply] { apply(QColor(Qt::black)); }));
        connect(menu->addAction(QStringLiteral("Šedá")), &QAction::triggered, this, commit([apply] { apply(QColor(0x80, 0x80, 0x80)); }));
        connect(menu->addAction(QStringLiteral("Vybrat…")), &QAction::triggered, this, commit([this, apply] {
            const QColor c = QColorDialog::getColor(Qt::black, this);
            if (c.isValid()) apply(c);
        }));
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
    };
    colorMenu(fontColor_, applyFont, false);

    const auto combo = [&](QComboBox*& box, const char* name, const QString& label, const char* attribute,
                           const QList<QPair<QString, QString>>& items) {
        box = new QComboBox(panel);
        for (const auto& [caption, value] : items) box->addItem(caption, value);
        form_->addRow(label, named(box, name));
        connect(box, &QComboBox::activated, this, commit([this, box, attribute] {
            model_.setAttribute(QLatin1String(attribute), box->currentData().toString(), box->itemData(0).toString());
        }));
    };
    combo(hAlign_, "ZarovnaniVodorovne", QStringLiteral("Zarovnání &vodorovně"), "HAlign",
          {{QStringLiteral("vlevo"), QStringLiteral("haLeft")}, {QStringLiteral("vpravo"), QStringLiteral("haRight")},
           {QStringLiteral("na střed"), QStringLiteral("haCenter")}, {QStringLiteral("do bloku"), QStringLiteral("haBlock")}});
    combo(vAlign_, "ZarovnaniSvisle", QStringLiteral("Zarovnání &svisle"), "VAlign",
          {{QStringLiteral("nahoru"), QStringLiteral("vaTop")}, {QStringLiteral("dolů"), QStringLiteral("vaBottom")},
           {QStringLiteral("na střed"), QStringLiteral("vaCenter")}});
    wordWrap_ = new QCheckBox(QStringLiteral("Zalamovat řádky"), panel);
    form_->addRow(QString(), named(wordWrap_, "Zalamovat"));
    connect(wordWrap_, &QCheckBox::toggled, this, commit([this] {
        model_.setAttribute(QStringLiteral("WordWrap"), wordWrap_->isChecked() ? QStringLiteral("True") : QStringLiteral("False"), QStringLiteral("True"));
    }));
    combo(stretch_, "Roztazeni", QStringLiteral("&Roztažení"), "StretchMode",
          {{QStringLiteral("neroztahovat"), QStringLiteral("smDontStretch")}, {QStringLiteral("podle textu"), QStringLiteral("smActualHeight")},
           {QStringLiteral("na nejvyšší v pásu"), QStringLiteral("smMaxHeight")}});

    auto* frame = new QWidget(panel);
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    const char* frameNames[] = {"RamecekVlevo", "RamecekVpravo", "RamecekNahore", "RamecekDole"};
    const QString frameCaptions[] = {QStringLiteral("vlevo"), QStringLiteral("vpravo"), QStringLiteral("nahoře"), QStringLiteral("dole")};
    for (int i = 0; i < 4; ++i) {
        frameLines_[i] = new QCheckBox(frameCaptions[i], frame);
        frameLines_[i]->setObjectName(QLatin1String(frameNames[i]));
        frameLayout->addWidget(frameLines_[i]);
        connect(frameLines_[i], &QCheckBox::toggled, this, commit([this] {
            int bits = 0;
            for (int b = 0; b < 4; ++b)
                if (frameLines_[b]->isChecked()) bits |= 1 << b;
            model_.setAttribute(QStringLiteral("Frame.Typ"), QString::number(bits), QStringLiteral("0"));
        }));
    }
    form_->addRow(QStringLiteral("Rámeček"), named(frame, "Ramecek"));
    frame->setAccessibleName(QStringLiteral("Rámeček"));
    frameWidth_ = new QDoubleSpinBox(panel);
    frameWidth_->setRange(0.1, 20);
    frameWidth_->setSingleStep(0.5);
    form_->addRow(QStringLiteral("Šířka &rámečku"), named(frameWidth_, "SirkaRamecku"));
    connect(frameWidth_, &QDoubleSpinBox::valueChanged, this,
            commit([this] { model_.setAttribute(QStringLiteral("Frame.Width"), formatNumber(frameWidth_->value()), QStringLiteral("1")); }));
    frameColor_ = new QToolButton(panel);
    form_->addRow(QStringLiteral("Barva rámečku"), named(frameColor_, "BarvaRamecku"));
    colorMenu(frameColor_, [this](const QColor& c) { model_.setAttribute(QStringLiteral("Frame.Color"), delphiColorText(c), QStringLiteral("0")); }, false);
    combo(frameStyle_, "StylRamecku", QStringLiteral("S&tyl rámečku"), "Frame.Style",
          {{QStringLiteral("plná čára"), QStringLiteral("fsSolid")}, {QStringLiteral("čárkovaná"), QStringLiteral("fsDash")},
           {QStringLiteral("tečkovaná"), QStringLiteral("fsDot")}, {QStringLiteral("čerchovaná"), QStringLiteral("fsDashDot")},
           {QStringLiteral("dvojitě čerchovaná"), QStringLiteral("fsDashDotDot")}, {QStringLiteral("dvojitá"), QStringLiteral("fsDouble")}});
    fill_ = new QToolButton(panel);
    form_->addRow(QStringLiteral("Výplň"), named(fill_, "Vypln"));
    colorMenu(fill_, [this](const QColor& c) { model_.setAttribute(QStringLiteral("Color"), delphiColorText(c), QStringLiteral("536870911")); }, true);

    picture_ = new QPushButton(QStringLiteral("Načíst…"), panel);
    form_->addRow(QStringLiteral("Obrázek"), named(picture_, "NacistObrazek"));
    connect(picture_, &QPushButton::clicked, this, [this] { common::guarded([this] { NacistObrazekClick(); }); });

    combo(formatKind_, "DruhFormatu", QStringLiteral("Druh &formátu"), "DisplayFormat.Kind",
          {{QStringLiteral("text"), QStringLiteral("fkText")}, {QStringLiteral("číslo"), QStringLiteral("fkNumeric")},
           {QStringLiteral("datum a čas"), QStringLiteral("fkDateTime")}, {QStringLiteral("logická hodnota"), QStringLiteral("fkBoolean")}});
    format_ = new QLineEdit(panel);
    format_->setPlaceholderText(QStringLiteral("%2.2n, dd.mm.yyyy"));
    form_->addRow(QStringLiteral("F&ormát"), named(format_, "Format"));
    connect(format_, &QLineEdit::editingFinished, this,
            commit([this] { model_.setAttribute(QStringLiteral("DisplayFormat.FormatStr"), format_->text()); }));
    combo(barType_, "TypKodu", QStringLiteral("Typ čárového &kódu"), "BarType",
          {{QStringLiteral("Code 39"), QStringLiteral("bcCode39")}, {QStringLiteral("Code 128 (automaticky)"), QStringLiteral("bcCode128")},
           {QStringLiteral("Code 128 A"), QStringLiteral("bcCode128A")}, {QStringLiteral("Code 128 B"), QStringLiteral("bcCode128B")},
           {QStringLiteral("Code 128 C"), QStringLiteral("bcCode128C")}, {QStringLiteral("EAN-13"), QStringLiteral("bcCodeEAN13")},
           {QStringLiteral("EAN-8"), QStringLiteral("bcCodeEAN8")}});

    dataset_ = new QComboBox(panel);
    dataset_->addItem(QStringLiteral("(bez datové sady)"), QString());
    dataset_->addItem(DatasetName, DatasetName);
    form_->addRow(QStringLiteral("Datová s&ada"), named(dataset_, "DatovaSada"));
    connect(dataset_, &QComboBox::activated, this, commit([this] {
        const QString ds = dataset_->currentData().toString();
        if (ds.isEmpty()) model_.setAttributes({}, {QStringLiteral("DataSet"), QStringLiteral("DataSetName")});
        else model_.setAttributes({{QStringLiteral("DataSet"), ds}, {QStringLiteral("DataSetName"), ds}});
    }));
    condition_ = new QLineEdit(panel);
    condition_->setPlaceholderText(QStringLiteral("frxDBDataset1.\"POLE\""));
    form_->addRow(QStringLiteral("Podmínka s&kupiny"), named(condition_, "Podminka"));
    connect(condition_, &QLineEdit::editingFinished, this,
            commit([this] { model_.setAttribute(QStringLiteral("Condition"), condition_->text()); }));
    const auto flag = [&](QCheckBox*& box, const char* name, const QString& caption, const char* attribute, bool byDefault) {
        box = new QCheckBox(caption, panel);
        form_->addRow(QString(), named(box, name));
        const QString on = QStringLiteral("True"), off = QStringLiteral("False");
        connect(box, &QCheckBox::toggled, this, commit([this, box, attribute, byDefault, on, off] {
            model_.setAttribute(QLatin1String(attribute), box->isChecked() ? on : off, byDefault ? on : off);
        }));
    };
    flag(newPage_, "NovaStranka", QStringLiteral("Začít novou stránku"), "StartNewPage", false);
    flag(firstPage_, "NaPrvniStrance", QStringLiteral("Tisknout na první stránce"), "PrintOnFirstPage", true);
    flag(lastPage_, "NaPosledniStrance", QStringLiteral("Tisknout na poslední stránce"), "PrintOnLastPage", true);
    flag(keepTogether_, "Pohromade", QStringLiteral("Udržet skupinu na jedné stránce"), "KeepTogether", false);
    flag(reprint_, "Opakovat", QStringLiteral("Opakovat na každé stránce"), "ReprintOnNewPage", false);
}

void DesignerWindow::fillPanel() {
    const QList<ObjectRef>& selection = model_.selection();
    filling_ = true;
    const bool any = !selection.isEmpty();
    const Node empty;
    const Node& n = any ? model_.node(selection.first()) : empty;
    const bool band = any && selection.first().isBand();
    const QString& tag = n.tag;
    const bool memo = tag == QLatin1String("TfrxMemoView") || tag == QLatin1String("TfrxSysMemoView");
    const bool barcode = tag == QLatin1String("TfrxBarCodeView");
    const bool object = any && !band;

    if (!any) kind_->setText(QStringLiteral("Nic není vybráno"));
    else if (band) kind_->setText(bandCaption(tag) + QStringLiteral(" ") + n.text(QStringLiteral("Name")));
    else if (selection.size() > 1) kind_->setText(QStringLiteral("Vybráno objektů: %1").arg(selection.size()));
    else kind_->setText(n.text(QStringLiteral("Name")) + QStringLiteral(" (") + tag.mid(4) + QLatin1Char(')'));

    const auto show = [this](QWidget* w, bool visible) { form_->setRowVisible(w, visible); };
    show(name_, any);
    name_->setText(n.text(QStringLiteral("Name")));
    for (QDoubleSpinBox* box : {left_, top_, width_}) show(box, object);
    show(height_, any);
    left_->setValue(n.number(QStringLiteral("Left")));
    top_->setValue(n.number(QStringLiteral("Top")));
    width_->setValue(n.number(QStringLiteral("Width")));
    height_->setValue(n.number(QStringLiteral("Height")));

    show(text_, memo || barcode);
    if (!text_->hasFocus()) text_->setPlainText(QString(n.text(barcode ? QStringLiteral("Expression") : QStringLiteral("Text"))).remove(QLatin1Char('\r')));
    for (QWidget* w : {static_cast<QWidget*>(dataField_), static_cast<QWidget*>(hAlign_), static_cast<QWidget*>(vAlign_),
                       static_cast<QWidget*>(wordWrap_), static_cast<QWidget*>(stretch_), static_cast<QWidget*>(formatKind_),
                       static_cast<QWidget*>(format_)})
        show(w, memo);
    dataField_->setCurrentIndex(std::max(0, dataField_->findText(n.text(QStringLiteral("DataField")))));
    if (dataField_->currentText() != n.text(QStringLiteral("DataField"))) dataField_->setEditText(n.text(QStringLiteral("DataField")));
    const auto pick = [](QComboBox* box, const QString& value) { box->setCurrentIndex(std::max(0, box->findData(value))); };
    pick(hAlign_, n.text(QStringLiteral("HAlign"), QStringLiteral("haLeft")));
    pick(vAlign_, n.text(QStringLiteral("VAlign"), QStringLiteral("vaTop")));
    pick(stretch_, n.text(QStringLiteral("StretchMode"), QStringLiteral("smDontStretch")));
    pick(formatKind_, n.text(QStringLiteral("DisplayFormat.Kind"), QStringLiteral("fkText")));
    wordWrap_->setChecked(n.boolean(QStringLiteral("WordWrap"), true));
    format_->setText(n.text(QStringLiteral("DisplayFormat.FormatStr")));

    // The font the object prints with: its own, or its band's.
    const bool textual = memo || barcode;
    for (QWidget* w : {static_cast<QWidget*>(font_), static_cast<QWidget*>(fontSize_), bold_->parentWidget(), static_cast<QWidget*>(fontColor_)})
        show(w, textual);
    if (textual) {
        const Node& bandNode = model_.node(selection.first().bandRef());
        const bool parent = n.boolean(QStringLiteral("ParentFont"), true) && !n.has(QStringLiteral("Font.Name"));
        const Node& f = parent ? bandNode : n;
        font_->setCurrentFont(QFont(f.text(QStringLiteral("Font.Name"), QStringLiteral("Arial"))));
        fontSize_->setValue(int(std::lround(std::fabs(f.number(QStringLiteral("Font.Height"), -13)) * 72.0 / 96.0)));
        const int style = int(f.number(QStringLiteral("Font.Style"), 0));
        bold_->setChecked(style & 1);
        italic_->setChecked(style & 2);
        underline_->setChecked(style & 4);
        const QColor fc = colorOf(f, QStringLiteral("Font.Color"), Qt::black);
        fontColor_->setText(fc.isValid() ? fc.name() : QStringLiteral("—"));
    }

    show(frameLines_[0]->parentWidget(), object);
    show(frameWidth_, object);
    show(fill_, object && tag != QLatin1String("TfrxLineView"));
    const int bits = int(n.number(QStringLiteral("Frame.Typ"), 0));
    for (int b = 0; b < 4; ++b) frameLines_[b]->setChecked(bits & (1 << b));
    frameWidth_->setValue(n.number(QStringLiteral("Frame.Width"), 1));
    show(frameColor_, object);
    show(frameStyle_, object);
    const QColor lineColor = colorOf(n, QStringLiteral("Frame.Color"), Qt::black);
    frameColor_->setText(lineColor.isValid() ? lineColor.name() : QStringLiteral("žádná"));
    pick(frameStyle_, n.text(QStringLiteral("Frame.Style"), QStringLiteral("fsSolid")));
    const QColor fc = colorOf(n, QStringLiteral("Color"), QColor());
    fill_->setText(fc.isValid() ? fc.name() : QStringLiteral("žádná"));
    show(picture_, object && tag == QLatin1String("TfrxPictureView"));
    show(barType_, barcode);
    pick(barType_, n.text(QStringLiteral("BarType"), QStringLiteral("bcCode39")));

    show(dataset_, band && tag == QLatin1String("TfrxMasterData"));
    pick(dataset_, n.text(QStringLiteral("DataSetName"), n.text(QStringLiteral("DataSet"))));
    show(condition_, band && tag == QLatin1String("TfrxGroupHeader"));
    condition_->setText(n.text(QStringLiteral("Condition")));
    show(newPage_, band);
    newPage_->setChecked(n.boolean(QStringLiteral("StartNewPage"), false));
    const bool pageBand = tag == QLatin1String("TfrxPageHeader") || tag == QLatin1String("TfrxPageFooter");
    show(firstPage_, band && pageBand);
    show(lastPage_, band && pageBand);
    firstPage_->setChecked(n.boolean(QStringLiteral("PrintOnFirstPage"), true));
    lastPage_->setChecked(n.boolean(QStringLiteral("PrintOnLastPage"), true));
    show(keepTogether_, band && tag == QLatin1String("TfrxGroupHeader"));
    keepTogether_->setChecked(n.boolean(QStringLiteral("KeepTogether"), false));
    show(reprint_, band && (tag == QLatin1String("TfrxGroupHeader") || tag == QLatin1String("TfrxHeader")));
    reprint_->setChecked(n.boolean(QStringLiteral("ReprintOnNewPage"), false));
    filling_ = false;
}

void DesignerWindow::changed() {
    view_->rebuild();
    fillPanel();
    bool objects = false;
    for (const ObjectRef& r : model_.selection()) objects = objects || !r.isBand();
    for (QAction* a : selectionActions_) a->setEnabled(!model_.selection().isEmpty());
    selectionActions_[0]->setEnabled(objects);
    selectionActions_[1]->setEnabled(objects);
    const bool oneBand = model_.selection().size() == 1 && model_.selection().first().isBand();
    for (QAction* a : bandActions_) a->setEnabled(oneBand);
    undo_->setEnabled(model_.canUndo());
    redo_->setEnabled(model_.canRedo());
    setWindowModified(model_.modified());
}

void DesignerWindow::insert(ObjectKind kind) {
    const std::optional<ObjectRef> band = model_.targetBand(page_);
    if (!band) return;
    model_.insertObject(kind, *band, model_.rect(*band).topLeft());
    changed();
    if (kind == ObjectKind::Picture) NacistObrazekClick();
}

// A field or variable goes to the target band, right of what is already on its first row.
void DesignerWindow::insertText(const QString& text) {
    const std::optional<ObjectRef> band = model_.targetBand(page_);
    if (!band) return;
    const QRectF area = model_.rect(*band);
    double x = area.left();
    for (const ObjectRef& o : model_.objects(*band)) {
        const QRectF r = model_.rect(o);
        if (r.top() < area.top() + model_.grid()) x = std::max(x, r.right());
    }
    if (x + 100 > area.right()) x = area.left();
    model_.insertMemo(*band, QPointF(std::ceil((x - area.left()) / model_.grid()) * model_.grid() + area.left(), area.top()), text);
    changed();
}

void DesignerWindow::UlozitClick() {
    model_.save();
    changed();
}

void DesignerWindow::NahledClick() {
    PreviewWindow preview(prepareReport(model_.report(), data_), this);
    preview.setSource({model_.report(), data_, reportTitle(model_.report())});
    preview.exec();
}

void DesignerWindow::ZpetClick() {
    model_.undo();
    changed();
}

void DesignerWindow::ZnovuClick() {
    model_.redo();
    changed();
}

void DesignerWindow::KopirovatClick() {
    const QByteArray fragment = model_.copySelection();
    if (fragment.isEmpty()) return;
    auto* data = new QMimeData;
    data->setData(ClipboardType, fragment);
    data->setText(QString::fromUtf8(fragment));
    QApplication::clipboard()->setMimeData(data);
}

void DesignerWindow::VyjmoutClick() {
    KopirovatClick();
    SmazatClick();
}

void DesignerWindow::VlozitClick() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(ClipboardType)) return;
    model_.paste(data->data(ClipboardType), page_);
    changed();
}

void DesignerWindow::SmazatClick() {
    model_.deleteSelection();
    changed();
}

void DesignerWindow::SeznamPoliDoubleClick(QListWidgetItem* item) { insertText(item->data(Qt::UserRole).toString()); }

void DesignerWindow::SeznamPromennychDoubleClick(QListWidgetItem* item) { insertText(item->data(Qt::UserRole).toString()); }

void DesignerWindow::NacistObrazekClick() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Načíst obrázek"), QString(),
                                                      QStringLiteral("Obrázky (*.png *.jpg *.jpeg *.bmp)"));
    if (!path.isEmpty()) loadPicture(path);
}

bool DesignerWindow::loadPicture(const QString& path) {
    QFile file(path);
    const QString data = file.open(QIODevice::ReadOnly) ? picturePropData(file.readAll()) : QString();
    if (data.isEmpty()) {
        common::MessageBox(QStringLiteral("Návrh sestavy"))
            .show(QStringLiteral("Soubor %1 není obrázek BMP, JPEG ani PNG.").arg(QFileInfo(path).fileName()), common::MessageIcon::Stop);
        return false;
    }
    model_.setAttribute(QStringLiteral("Picture.PropData"), data);
    changed();
    return true;
}

bool DesignerWindow::confirmClose() {
    if (!model_.modified()) return true;
    const int answer = common::Prompter::current().ask(
        {QStringLiteral("Návrh sestavy"),
         QStringLiteral("Šablona %1 byla změněna. Uložit změny?").arg(QFileInfo(model_.path()).fileName()),
         {QStringLiteral("Uložit"), QStringLiteral("Neukládat"), QStringLiteral("Zpět")},
         common::MessageIcon::Question});
    if (answer == 0) return common::guarded([this] { model_.save(); });
    return answer == 1;
}

void DesignerWindow::reject() {
    if (confirmClose()) QDialog::reject();
}

void designReport(const QString& path, Template& report, const db::ResultSet& data, QWidget* parent) {
    DesignerWindow window(report, path, data, parent);
    window.exec();
    report = window.model().report();
}

} // namespace dorvik::reporting
