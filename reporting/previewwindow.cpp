#include "reporting/previewwindow.h"

#include "common/errordisplay.h"
#include "common/routines.h"
#include "reporting/zoomactions.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvik::reporting {

// Paints one page at the window's zoom, with the find hit marked.
class PageView : public QWidget {
public:
    explicit PageView(QWidget* parent) : QWidget(parent) {}
    const PreparedPage* page = nullptr;
    QRectF hit;
    double zoom = 1.0;

    QSize sizeHint() const override {
        if (!page) return {200, 200};
        return (page->size * zoom * logicalDpiX() / 96.0).toSize() + QSize(2, 2);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().dark());
        if (!page) return;
        p.translate(1, 1);
        paintPageOnDevice(p, *page, zoom);
        if (!hit.isNull()) {
            const double f = logicalDpiX() / 96.0 * zoom;
            p.fillRect(QRectF(hit.topLeft() * f, hit.size() * f), QColor(255, 200, 0, 90));
        }
    }
};

PreviewWindow::PreviewWindow(PreparedReport report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Náhled tisku"));
    setModal(true);
    resize(1000, 800);

    view_ = new PageView(this);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(view_);
    scroll_->setAlignment(Qt::AlignHCenter);
    scroll_->setBackgroundRole(QPalette::Dark);

    auto* tools = new QToolBar(this);
    // Window-wide actions, so their shortcuts work whether they sit on the bar or in a menu.
    const auto action = [&](const char* name, const QString& caption, const QList<QKeySequence>& keys, auto handler) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, [this, handler] { common::guarded([&] { (this->*handler)(); }); });
        return a;
    };
    tools->addAction(action("Tisk", QStringLiteral("Tisk"), {QKeySequence(Qt::CTRL | Qt::Key_P)}, &PreviewWindow::print));
    tools->addAction(action("ExportPdf", QStringLiteral("PDF"), {QKeySequence(Qt::CTRL | Qt::Key_E)}, &PreviewWindow::exportPdf));
    auto* exports = new QMenu(this);
    exports->setObjectName(QStringLiteral("ExportMenu"));
    exports->addAction(action("UlozitPdf", QStringLiteral("Uložit jako PDF…"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, &PreviewWindow::saveAsPdf));
    exports->addSeparator();
    dataExports_ << action("ExportExcel", QStringLiteral("Export do Excelu…"), {}, &PreviewWindow::exportXlsx)
                 << action("ExportCsv", QStringLiteral("Export do CSV…"), {}, &PreviewWindow::exportCsv);
    exports->addActions(dataExports_);
    for (QAction* a : dataExports_) a->setEnabled(false);
    auto* exportButton = new QToolButton(this);
    exportButton->setObjectName(QStringLiteral("Export"));
    exportButton->setText(QStringLiteral("Export"));
    exportButton->setMenu(exports);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    tools->addWidget(exportButton);
    tools->addAction(action("VzhledStranky", QStringLiteral("Vzhled stránky…"), {}, &PreviewWindow::pageSetup));
    tools->addSeparator();
    addZoomActions(tools, scroll_, [this] { return zoom_; }, [this](double z) { setZoom(z); });
    connect(tools->addAction(QStringLiteral("Na šířku")), &QAction::triggered, this, &PreviewWindow::fitWidth);
    connect(tools->addAction(QStringLiteral("Celá stránka")), &QAction::triggered, this, &PreviewWindow::fitPage);
    tools->addSeparator();
    const auto nav = [&](const char* name, const QString& caption, Qt::Key key, auto target) {
        QAction* a = tools->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(QKeySequence(key));
        connect(a, &QAction::triggered, this, [this, target] { showPage(target(page_, int(report_.pages.size()))); });
    };
    nav("Prvni", QStringLiteral("|<"), Qt::Key_Home, [](int, int) { return 0; });
    nav("Predchozi", QStringLiteral("<"), Qt::Key_PageUp, [](int p, int) { return p - 1; });
    pageNumber_ = new QSpinBox(this);
    pageNumber_->setObjectName(QStringLiteral("CisloStranky"));
    tools->addWidget(pageNumber_);
    pageCount_ = new QLabel(this);
    tools->addWidget(pageCount_);
    updatePageCount();
    connect(pageNumber_, &QSpinBox::valueChanged, this, [this](int v) { if (v - 1 != page_) showPage(v - 1); });
    nav("Dalsi", QStringLiteral(">"), Qt::Key_PageDown, [](int p, int) { return p + 1; });
    nav("Posledni", QStringLiteral(">|"), Qt::Key_End, [](int, int n) { return n - 1; });
    tools->addSeparator();
    find_ = new QLineEdit(this);
    find_->setObjectName(QStringLiteral("Hledat"));
    find_->setPlaceholderText(QStringLiteral("Hledat"));
    find_->setAccessibleName(QStringLiteral("Hledat"));
    find_->setMaximumWidth(180);
    tools->addWidget(find_);
    connect(find_, &QLineEdit::returnPressed, this, [this] { findNext(find_->text()); });
    QAction* findAction = new QAction(this);
    findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(findAction);
    connect(findAction, &QAction::triggered, this, [this] { find_->setFocus(); find_->selectAll(); });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Stav"));
    if (!report_.ignoredHandlers.isEmpty())
        status_->setText(QStringLiteral("Skripty šablony se nespouštějí: ") + report_.ignoredHandlers.join(QStringLiteral(", ")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(scroll_, 1);
    layout->addWidget(status_);
    showPage(0);
}

PreviewWindow::~PreviewWindow() = default;

QString PreviewWindow::exportFileName() { return QDir::current().filePath(QStringLiteral("dorvik.pdf")); }

void PreviewWindow::showPage(int index) {
    if (report_.pages.isEmpty()) {
        updateView();
        return;
    }
    page_ = std::clamp(index, 0, int(report_.pages.size()) - 1);
    updateView();
}

void PreviewWindow::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.1, 8.0);
    updateView();
}

void PreviewWindow::fitWidth() {
    if (report_.pages.isEmpty()) return;
    const double w = scroll_->viewport()->width() - 4;
    setZoom(w / (report_.pages[page_].size.width() * logicalDpiX() / 96.0));
}

void PreviewWindow::fitPage() {
    if (report_.pages.isEmpty()) return;
    const QSizeF page = report_.pages[page_].size * (logicalDpiX() / 96.0);
    const QSize room = scroll_->viewport()->size() - QSize(4, 4);
    setZoom(std::min(room.width() / page.width(), room.height() / page.height()));
}

void PreviewWindow::updateView() {
    view_->page = report_.pages.isEmpty() ? nullptr : &report_.pages[page_];
    view_->zoom = zoom_;
    view_->hit = hitPage_ == page_ && hitItem_ >= 0 ? report_.pages[page_].items[hitItem_].rect : QRectF();
    view_->resize(view_->sizeHint());
    view_->update();
    const QSignalBlocker block(pageNumber_);
    pageNumber_->setValue(page_ + 1);
}

bool PreviewWindow::findNext(const QString& text) {
    if (text.isEmpty() || report_.pages.isEmpty()) return false;
    int p = hitPage_ < 0 ? page_ : hitPage_;
    int i = hitPage_ < 0 ? -1 : hitItem_;
    const int total = int(report_.pages.size());
    for (int visited = 0; visited <= total; ++visited) {
        const QList<PreparedItem>& items = report_.pages[p].items;
        for (++i; i < items.size(); ++i) {
            const PreparedItem& item = items[i];
            if (item.kind == PreparedItem::Kind::Text && item.plainText().contains(text, Qt::CaseInsensitive)) {
                hitPage_ = p;
                hitItem_ = i;
                showPage(p);
                const QPointF centre = item.rect.center() * (zoom_ * view_->logicalDpiX() / 96.0);
                scroll_->ensureVisible(int(centre.x()), int(centre.y()));
                status_->clear();
                return true;
            }
        }
        p = (p + 1) % total;
        i = -1;
    }
    hitPage_ = hitItem_ = -1;
    status_->setText(QStringLiteral("Text „%1“ nebyl nalezen.").arg(text));
    updateView();
    return false;
}

void PreviewWindow::exportPdf() {
    const QString path = exportFileName();
    writePdf(report_, path);
    status_->setText(QStringLiteral("PDF uloženo: ") + QDir::toNativeSeparators(path));
    if (!common::openDocument(path))
        messages_.show(QStringLiteral("PDF je uloženo v souboru %1.\nProhlížeč PDF se nepodařilo otevřít.").arg(QDir::toNativeSeparators(path)),
                       common::MessageIcon::Information);
}

void PreviewWindow::setSource(ReportSource source) {
    source_ = std::move(source);
    for (QAction* a : dataExports_) a->setEnabled(true);
}

QString PreviewWindow::suggestedPath(const QString& extension) const {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(suggestedFileName(source_.title, extension));
}

QString PreviewWindow::askFileName(const QString& caption, const QString& extension, const QString& filter) {
    QFileDialog dialog(this, caption, suggestedPath(extension), filter);
    dialog.setObjectName(QStringLiteral("UlozitSoubor"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(extension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void PreviewWindow::saveAsPdf() {
    const QString path = askFileName(QStringLiteral("Uložit jako PDF"), QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    writePdf(report_, path);
    status_->setText(QStringLiteral("Uloženo: ") + QDir::toNativeSeparators(path));
}

void PreviewWindow::exportXlsx() {
    const QString path = askFileName(QStringLiteral("Export do Excelu"), QStringLiteral("xlsx"), QStringLiteral("Sešit Excelu (*.xlsx)"));
    if (path.isEmpty()) return;
    writeXlsx(source_, path);
    status_->setText(QStringLiteral("Uloženo: ") + QDir::toNativeSeparators(path));
}

void PreviewWindow::exportCsv() {
    const QString path = askFileName(QStringLiteral("Export do CSV"), QStringLiteral("csv"), QStringLiteral("CSV, oddělené středníkem (*.csv)"));
    if (path.isEmpty()) return;
    writeCsv(source_, path);
    status_->setText(QStringLiteral("Uloženo: ") + QDir::toNativeSeparators(path));
}

void PreviewWindow::print() {
    QPrintDialog dialog(&printer_, this);
    dialog.setMinMax(1, std::max<int>(1, int(report_.pages.size())));
    if (dialog.exec() != QDialog::Accepted) return;
    PreparedReport chosen;
    const int from = printer_.fromPage() > 0 ? printer_.fromPage() - 1 : 0;
    const int to = printer_.toPage() > 0 ? printer_.toPage() - 1 : int(report_.pages.size()) - 1;
    for (int i = from; i <= to && i < report_.pages.size(); ++i) chosen.pages << report_.pages[i];
    printReport(chosen, printer_);
}

void PreviewWindow::setRelayout(const QPageLayout& current, Relayout relayout) {
    pageLayout_ = current;
    relayout_ = std::move(relayout);
}

void PreviewWindow::pageSetup() {
    if (relayout_) printer_.setPageLayout(pageLayout_);
    QPageSetupDialog dialog(&printer_, this);
    if (dialog.exec() == QDialog::Accepted && relayout_) applyPageLayout(printer_.pageLayout());
}

void PreviewWindow::applyPageLayout(const QPageLayout& layout) {
    report_ = relayout_(layout);
    pageLayout_ = layout;
    hitPage_ = hitItem_ = -1;
    updatePageCount();
    showPage(page_);
}

void PreviewWindow::updatePageCount() {
    const QSignalBlocker block(pageNumber_);
    pageNumber_->setRange(report_.pages.isEmpty() ? 0 : 1, std::max<int>(1, int(report_.pages.size())));
    pageCount_->setText(QStringLiteral(" / %1 ").arg(report_.pages.size()));
}

} // namespace dorvik::reporting
