#include "app/tform1.h"

#include "app/costcentredialog.h"
#include "app/versioncheck.h"
#include "common/dailymarker.h"
#include "common/errordisplay.h"
#include "common/formstorage.h"
#include "common/gridmodel.h"
#include "common/gridview.h"
#include "common/progresswindow.h"
#include "common/routines.h"
#include "invoicing/documentprint.h"
#include "invoicing/tfvytfakt.h"
#include "receipts/tfneouct.h"
#include "receipts/tfodpis.h"
#include "receipts/tftrzby1.h"
#include "reporting/reportrunner.h"
#include "reports/tfsest1.h"
#include "reports/tfsest5.h"
#include "reports/tfsest3.h"
#include "reports/tfsest4.h"
#include "reports/tfsest6.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace dorvik::app {
namespace {

using common::GridColumn;

const QString formSection = QStringLiteral("TForm1");

QList<GridColumn> documentColumns() {
    return {
        {"CISLODOKLA", "Číslo dokladu", 90, {}}, {"STREDISKO", "Středisko", 60, {}},
        {"DATUM", "Datum", 150, {}},             {"CISLOFAKT", "Faktura", 80, {}},
        {"ZAKAZKA", "Zakázka", 80, {}},          {"OBJEDNAVKA", "Objednávka", 80, {}},
        {"KODPAR", {}, 60, {}},                  {"ICO", "IČO", 70, {}},
        {"NAZEVPODNI", "Název podniku", 200, {}}, {"SIDLO", "Sídlo", 120, {}},
        {"ULICECISLO", "Ulice, číslo", 140, {}}, {"PSC", "PSČ", 50, {}},
        {"POSTA", "Pošta", 120, {}},             {"DIC", "DIČ", 90, {}},
        {"VNITRO", "Vnitro příjem", 80, {}},
    };
}

QList<GridColumn> lineColumns() {
    return {
        {"JKPOV", "JKP", 110, {}},
        {"NAZEV", "Název", 260, {}},
        {"MNOZ", "Množství", 80, common::QuantityFormat},
        {"MJ", {}, 35, {}},
        {"PC", "Cena", 90, common::MoneyFormat},
        {"PCR", "Celkem řádek", 100, common::MoneyFormat},
        {"DPH", {}, 40, {}},
        {"VYDEJKA", {}, 70, {}},
    };
}

QLabel* boldLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TForm1::TForm1(QString settingsPath, QWidget* parent)
    : QMainWindow(parent),
      settingsPath_(std::move(settingsPath)),
      documents_(new common::GridModel(this)),
      lines_(new common::GridModel(this)),
      report_(std::make_unique<reporting::ReportRunner>(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Dorvik"));

    documents_->setColumns(documentColumns());
    lines_->setColumns(lineColumns());
    DBGrid1 = new common::GridView(documents_);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("Doklady"));
    DBGrid1->applyColumnWidths();
    DBGrid1->enableColumnSearch();
    DBGrid2 = new common::GridView(lines_);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setAccessibleName(QStringLiteral("Řádky dokladu"));
    DBGrid2->applyColumnWidths();

    auto* linesPanel = new QWidget;
    linesPanel->setObjectName(QStringLiteral("Panel2"));
    auto* linesLayout = new QVBoxLayout(linesPanel);
    linesLayout->setContentsMargins(0, 0, 0, 0);
    linesLayout->setSpacing(0);
    auto* linesCaption = boldLabel(QStringLiteral("Řádky dokladu"), QStringLiteral("LabelRadky"));
    linesCaption->setAlignment(Qt::AlignCenter);
    linesCaption->setAutoFillBackground(true);
    linesCaption->setBackgroundRole(QPalette::Mid);
    linesCaption->setMargin(3);
    linesLayout->addWidget(linesCaption);
    linesLayout->addWidget(DBGrid2);

    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->addWidget(DBGrid1);
    splitter_->addWidget(linesPanel);
    splitter_->setChildrenCollapsible(false);

    auto* bottom = new QWidget;
    bottom->setObjectName(QStringLiteral("Panel1"));
    buildBottomPanel(bottom);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter_, 1);
    layout->addWidget(bottom);
    setCentralWidget(central);
    buildMenu();

    const int menuHeight = menuBar()->sizeHint().height();
    resize(952, 625 + menuHeight);
    const int listArea = 625 - bottom->sizeHint().height();
    splitter_->setSizes({listArea * 44 / 100, listArea - listArea * 44 / 100});

    connect(documents_, &common::GridModel::currentRowChanged, this, [this] { common::guarded([this] { currentDocumentChanged(); }); });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, common::guard(this, &TForm1::OpravitDokladClick));
}

TForm1::~TForm1() = default;

void TForm1::buildBottomPanel(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(8, 6, 8, 6);
    auto* Label3 = boldLabel(QStringLiteral("&Rok"), QStringLiteral("Label3"));
    suiComboBoxRok = new QComboBox;
    suiComboBoxRok->setObjectName(QStringLiteral("suiComboBoxRok"));
    suiComboBoxRok->addItems(yearEntries(QDate::currentDate().year()));
    suiComboBoxRok->setMaxVisibleItems(11);
    Label3->setBuddy(suiComboBoxRok);
    ButtonDL = new QPushButton(QStringLiteral("DL"));
    ButtonFA = new QPushButton(QStringLiteral("FA"));
    ButtonVP = new QPushButton(QStringLiteral("VP"));
    ButtonDL->setObjectName(QStringLiteral("ButtonDL"));
    ButtonFA->setObjectName(QStringLiteral("ButtonFA"));
    ButtonVP->setObjectName(QStringLiteral("ButtonVP"));
    auto* Label2 = boldLabel(QStringLiteral("Středisko"), QStringLiteral("Label2"));
    Label1 = boldLabel(QString(), QStringLiteral("Label1"));
    Label1->setAccessibleName(QStringLiteral("Středisko"));
    Label1->setMinimumWidth(60);
    row->addWidget(Label3);
    row->addWidget(suiComboBoxRok);
    row->addSpacing(24);
    row->addWidget(ButtonDL);
    row->addWidget(ButtonFA);
    row->addWidget(ButtonVP);
    row->addSpacing(24);
    row->addWidget(Label2);
    row->addWidget(Label1);
    row->addStretch();

    connect(suiComboBoxRok, &QComboBox::currentIndexChanged, this, common::guard(this, &TForm1::suiComboBoxRokChange));
    connect(ButtonDL, &QPushButton::clicked, this, common::guard(this, &TForm1::ButtonDLClick));
    connect(ButtonFA, &QPushButton::clicked, this, common::guard(this, &TForm1::ButtonFAClick));
    connect(ButtonVP, &QPushButton::clicked, this, common::guard(this, &TForm1::ButtonVPClick));
}

void TForm1::buildMenu() {
    QMenu* main = menuBar()->addMenu(QStringLiteral("&Hlavní nabídka"));
    NovyDoklad = main->addAction(QStringLiteral("&Nový doklad"), QKeySequence(QStringLiteral("Ctrl+N")));
    OpravitDoklad = main->addAction(QStringLiteral("&Opravit doklad"), QKeySequence(QStringLiteral("Ctrl+O")));
    TiskDokladu = main->addAction(QStringLiteral("&Tisk dokladu"), QKeySequence(QStringLiteral("Ctrl+T")));
    main->addSeparator();
    GeneraceFaktury = main->addAction(QStringLiteral("&Generace faktury"), QKeySequence(QStringLiteral("Ctrl+G")));
    TiskFaktury = main->addAction(QStringLiteral("Tisk &faktury"), QKeySequence(QStringLiteral("Ctrl+F")));
    NovyDoklad->setObjectName(QStringLiteral("NovyDoklad"));
    OpravitDoklad->setObjectName(QStringLiteral("OpravitDoklad"));
    TiskDokladu->setObjectName(QStringLiteral("TiskDokladu"));
    GeneraceFaktury->setObjectName(QStringLiteral("GeneraceFaktury"));
    TiskFaktury->setObjectName(QStringLiteral("TiskFaktury"));
    connect(NovyDoklad, &QAction::triggered, this, common::guard(this, &TForm1::NovyDokladClick));
    connect(OpravitDoklad, &QAction::triggered, this, common::guard(this, &TForm1::OpravitDokladClick));
    connect(TiskDokladu, &QAction::triggered, this, common::guard(this, &TForm1::TiskDokladuClick));
    connect(TiskFaktury, &QAction::triggered, this, common::guard(this, &TForm1::TiskFakturyClick));
    connect(GeneraceFaktury, &QAction::triggered, this, common::guard(this, &TForm1::GeneraceFakturyClick));

    QMenu* writeOff = menuBar()->addMenu(QStringLiteral("&Odpis"));
    QAction* receiptWriteOff = writeOff->addAction(QStringLiteral("Odpis účtenek"));
    receiptWriteOff->setObjectName(QStringLiteral("OdpisUctenek"));
    connect(receiptWriteOff, &QAction::triggered, this, common::guard(this, &TForm1::OdpisUctenekClick));
    writeOff->addSeparator();
    QAction* unwritten = writeOff->addAction(QStringLiteral("Neodepsané účtenky"));
    unwritten->setObjectName(QStringLiteral("NeodepsaneUctenky"));
    connect(unwritten, &QAction::triggered, this, common::guard(this, &TForm1::NeodepsaneUctenkyClick));

    QMenu* reports = menuBar()->addMenu(QStringLiteral("&Sestavy"));
    QAction* warehouse = reports->addAction(QStringLiteral("Sklad"));
    warehouse->setObjectName(QStringLiteral("SestavySklad"));
    connect(warehouse, &QAction::triggered, this, common::guard(this, &TForm1::SestavySkladClick));
    QAction* inventory = reports->addAction(QStringLiteral("Inventura, terminál"));
    inventory->setObjectName(QStringLiteral("SestavyInventura"));
    connect(inventory, &QAction::triggered, this, common::guard(this, &TForm1::SestavyInventuraClick));
    QAction* issueReports = reports->addAction(QStringLiteral("Výdejky"));
    issueReports->setObjectName(QStringLiteral("SestavyVydejky"));
    connect(issueReports, &QAction::triggered, this, common::guard(this, &TForm1::SestavyVydejkyClick));
    QAction* invoiceReports = reports->addAction(QStringLiteral("Faktury"));
    invoiceReports->setObjectName(QStringLiteral("SestavyFaktury"));
    connect(invoiceReports, &QAction::triggered, this, common::guard(this, &TForm1::SestavyFakturyClick));
    QAction* orderReports = reports->addAction(QStringLiteral("Zakázky"));
    orderReports->setObjectName(QStringLiteral("SestavyZakazky"));
    connect(orderReports, &QAction::triggered, this, common::guard(this, &TForm1::SestavyZakazkyClick));
    QAction* revenue = reports->addAction(QStringLiteral("Tržby účtenky"));
    revenue->setObjectName(QStringLiteral("SestavyTrzby"));
    connect(revenue, &QAction::triggered, this, common::guard(this, &TForm1::SestavyTrzbyClick));

    MenuCentrum = menuBar()->addMenu(QStringLiteral("&Centrum"));
    MenuCentrum->setObjectName(QStringLiteral("MenuCentrum"));
    QAction* centre = MenuCentrum->addAction(QStringLiteral("Středisko"));
    centre->setObjectName(QStringLiteral("Stredisko"));
    connect(centre, &QAction::triggered, this, common::guard(this, &TForm1::StrediskoClick));

    QMenu* service = menuBar()->addMenu(QStringLiteral("Se&rvis"));
    QAction* addresses = service->addAction(QStringLiteral("Adresář"));
    addresses->setObjectName(QStringLiteral("Adresar"));
    connect(addresses, &QAction::triggered, this, common::guard(this, &TForm1::AdresarClick));
    QAction* orders = service->addAction(QStringLiteral("Zakázky"));
    orders->setObjectName(QStringLiteral("Zakazky"));
    connect(orders, &QAction::triggered, this, common::guard(this, &TForm1::ZakazkyClick));
    QAction* cards = service->addAction(QStringLiteral("Zákaznické karty"));
    cards->setObjectName(QStringLiteral("ZakaznickeKarty"));
    connect(cards, &QAction::triggered, this, common::guard(this, &TForm1::ZakaznickeKartyClick));
    service->addSeparator();
    QAction* manual = service->addAction(QStringLiteral("Dokumentace"));
    manual->setObjectName(QStringLiteral("Dokumentace"));
    connect(manual, &QAction::triggered, this, common::guard(this, &TForm1::DokumentaceClick));
    KontrolaVerzeSeparator = service->addSeparator();
    KontrolaVerze = service->addAction(QStringLiteral("Kontrola nové verze"));
    KontrolaVerze->setObjectName(QStringLiteral("KontrolaVerze"));
    connect(KontrolaVerze, &QAction::triggered, this, common::guard(this, &TForm1::KontrolaVerzeClick));

    QMenu* end = menuBar()->addMenu(QStringLiteral("&Konec"));
    QAction* really = end->addAction(QStringLiteral("Opravdu"));
    really->setObjectName(QStringLiteral("Opravdu"));
    connect(really, &QAction::triggered, this, &QWidget::close);
}

void TForm1::OdpisUctenekClick() {
    receipts::TFodpis window(context(), this);
    window.exec();
}

void TForm1::NeodepsaneUctenkyClick() {
    receipts::TFneouct window(context(), this);
    window.exec();
}

void TForm1::SestavyTrzbyClick() {
    receipts::TFtrzby1 window(context(), this);
    window.exec();
}

void TForm1::SestavySkladClick() {
    reports::TFsest1 window(context(), this);
    window.exec();
}

void TForm1::SestavyInventuraClick() {
    reports::TFsest5 window(context(), this);
    window.exec();
}

void TForm1::SestavyVydejkyClick() {
    reports::TFsest3 window(context(), this);
    window.exec();
}

void TForm1::SestavyFakturyClick() {
    reports::TFsest4 window(context(), this);
    window.exec();
}

void TForm1::SestavyZakazkyClick() {
    reports::TFsest6 window(context(), this);
    window.exec();
}

bool TForm1::centrumMode() const {
    return MenuCentrum->isEnabled();
}

int TForm1::currentDocumentRow() const {
    const int row = documents_->currentRow();
    return row < 0 ? -1 : documents_->sourceRow(row);
}

common::RegisterContext TForm1::context() {
    return {connection_, settings_, costCentre_, ownIco_, centrumMode(), documents_->result(), currentDocumentRow()};
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    restoreYear();
    // Run once the window is up, so the register is on screen before the connection is tried.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    saveYear();
    connection_.close();
    event->accept();
}

void TForm1::FormShow() {
    connection_.close();
    settings_ = common::readStartupSettings(settingsPath_);
    connection_.setSettings(settings_.connectionSettings());
    costCentre_ = settings_.costCentre;
    MenuCentrum->setEnabled(settings_.centrumMode == QLatin1String("A"));
    if (settings_.versionTestMode == QLatin1String("X")) {
        KontrolaVerzeSeparator->setVisible(false);
        KontrolaVerze->setVisible(false);
    }
    showOnScreen();
    common::guarded([this] {
        versionCheckAtStart();
        try {
            connection_.claimWorkstation(settings_.workstation);
            connection_.open();
        } catch (const db::WorkstationInUse& inUse) {
            // Two copies on one workstation number would share their scratch tables.
            messages_.show(inUse.message(), common::MessageIcon::Stop);
            QTimer::singleShot(0, this, &QWidget::close);
            return;
        }
        Label1->setText(costCentre_);
        ButtonDLClick();
    });
}

void TForm1::showOnScreen() {
    QWindow* window = windowHandle();
    QElapsedTimer waited;
    waited.start();
    while (window && !window->isExposed() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    repaint();
}

void TForm1::selectMode(RegisterMode mode) {
    mode_ = mode;
    for (QPushButton* b : {ButtonDL, ButtonFA, ButtonVP}) b->setEnabled(true);
    for (QAction* a : {NovyDoklad, OpravitDoklad, GeneraceFaktury, TiskFaktury}) a->setEnabled(true);
    switch (mode) {
    case RegisterMode::DL:
        ButtonDL->setEnabled(false);
        TiskFaktury->setEnabled(false);
        break;
    case RegisterMode::FA:
        ButtonFA->setEnabled(false);
        NovyDoklad->setEnabled(false);
        GeneraceFaktury->setEnabled(false);
        break;
    case RegisterMode::VP:
        ButtonVP->setEnabled(false);
        GeneraceFaktury->setEnabled(false);
        TiskFaktury->setEnabled(false);
        break;
    }
    loadList();
}

void TForm1::suiComboBoxRokChange() {
    loadList();
}

void TForm1::loadList() {
    common::BusyCursor busy;
    const db::ResultSet centre = connection_.query(ownIcoSql(costCentre_));
    ownIco_ = centre.rowCount() > 0 ? centre.text(0, QStringLiteral("ico")) : QString();
    const QString year = suiComboBoxRok->currentIndex() > 0 ? suiComboBoxRok->currentText() : QString();
    documents_->setResult(connection_.query(documentListSql(costCentre_, year, mode_)));
    if (documents_->rowCount() == 0) lines_->setResult(db::ResultSet());
}

void TForm1::currentDocumentChanged() {
    const int row = currentDocumentRow();
    if (row < 0) {
        lines_->setResult(db::ResultSet());
        return;
    }
    const db::ResultSet& list = documents_->result();
    if (mode_ != RegisterMode::FA) GeneraceFaktury->setEnabled(list.integer(row, QStringLiteral("vnitro")) <= 0);
    lines_->setResult(connection_.query(lineListSql(list.integer(row, QStringLiteral("cislodokla")))));
}

void TForm1::NovyDokladClick() {
    if (mode_ == RegisterMode::FA) return;
    openEditor(newDocumentRequest(mode_, settings_.terminal));
}

void TForm1::OpravitDokladClick() {
    const int row = currentDocumentRow();
    if (row < 0) return;
    const db::ResultSet& list = documents_->result();
    if (isPosted(list.date(row, list.columnIndex(QStringLiteral("datumzauct"))),
                 list.date(row, list.columnIndex(QStringLiteral("datumzaucf"))))) {
        messages_.show(QStringLiteral("Doklad nelze opravit. Je již zaúčtován."), common::MessageIcon::Stop);
        return;
    }
    openEditor(correctionRequest(list.integer(row, QStringLiteral("cislodokla")), list.integer(row, QStringLiteral("vnitro")),
                                 settings_.terminal));
}

void TForm1::openEditor(const EditorRequest& request) {
    if (!editorOpener) return;
    reloadAndLocate(editorOpener(request));
}

void TForm1::openMasterData(MasterDataWindow window) {
    if (masterDataOpener) masterDataOpener(window);
}

void TForm1::GeneraceFakturyClick() {
    const int row = currentDocumentRow();
    if (row < 0) return;
    const qint64 document = documents_->result().integer(row, QStringLiteral("cislodokla"));
    {
        invoicing::TFvytfakt window(context(), 0, this, settingsPath_);
        window.exec();
    }
    reloadAndLocate(document);
}

void TForm1::TiskDokladuClick() {
    const int row = currentDocumentRow();
    if (row < 0) return;
    invoicing::printIssueDocument(connection_, *report_, documents_->result().text(row, QStringLiteral("cislodokla")),
                                  settings_.deliveryNoteLayout);
}

void TForm1::TiskFakturyClick() {
    const int row = currentDocumentRow();
    if (row < 0) return;
    const db::ResultSet& list = documents_->result();
    invoicing::printInvoice(connection_, *report_, settings_.workstation, list.text(row, QStringLiteral("cislofakt")),
                            list.text(row, QStringLiteral("stredisko")));
}

void TForm1::reloadAndLocate(qint64 documentNumber) {
    // The row index alone would land on whichever document now holds it; the register stays
    // on the document it was on when that one is still listed.
    const int before = currentDocumentRow();
    const qint64 beforeDocument = before >= 0 ? documents_->result().integer(before, QStringLiteral("cislodokla")) : 0;
    loadList();
    if (documents_->locate(QStringLiteral("CISLODOKLA"), documentNumber) < 0 && beforeDocument != 0)
        documents_->locate(QStringLiteral("CISLODOKLA"), beforeDocument);
}

void TForm1::StrediskoClick() {
    const db::ResultSet rs = connection_.query(QStringLiteral("select stredisko from strediska\n order by stredisko"));
    QStringList centres;
    for (int r = 0; r < rs.rowCount(); ++r) centres << rs.text(r, 0);
    CostCentreDialog dialog(centres, costCentre_, this);
    dialog.exec();
    costCentre_ = dialog.centre();
    Label1->setText(costCentre_);
    loadList();
}

void TForm1::DokumentaceClick() {
    common::openDocument(QDir::current().absoluteFilePath(QStringLiteral("velmo.pdf")));
}

void TForm1::versionCheckAtStart() {
    if (settings_.versionTestMode != QLatin1String("A")) return;
    if (common::startedToday(QStringLiteral("dorvik"))) return;
    runVersionCheck(false);
}

void TForm1::runVersionCheck(bool reportConnectionError) {
    // velmo.ini lies in the program's folder, and so do the update files.
    const UpdateSource source{settings_.updateAddress, QFileInfo(settingsPath_).absolutePath() + u'/'};
    VersionCheckResult result;
    {
        common::ProgressWindow progress(QStringLiteral("Velmo - kontrola nové verze"));
        progress.showNow();
        result = checkVersion(source, QStringLiteral("dorodozir"), programFileName(), true);
    }
    switch (result) {
    case VersionCheckResult::NewVersion:
        messages_.show(QStringLiteral("Nyní bude aktualizován program Dizidir.\nBude proveden restart programu!"),
                       common::MessageIcon::Information);
        QCoreApplication::processEvents();
        common::startProgram(source.folder + installerFileName(QStringLiteral("dorodozir")), {}, false);
        // Queued, so that the program also ends when this runs before the event loop.
        QTimer::singleShot(0, this, &QWidget::close);
        break;
    case VersionCheckResult::NoNewVersion:
        messages_.show(QStringLiteral("Není nová verze."), common::MessageIcon::Information);
        break;
    case VersionCheckResult::ConnectionError:
        // At start a failed check stays silent: the user did not ask for it.
        if (reportConnectionError) messages_.show(QStringLiteral("Chyba připojení."), common::MessageIcon::Stop);
        break;
    }
}

void TForm1::restoreYear() {
    const int index = common::FormStorage().readInt(formSection, QStringLiteral("suiComboBoxRok_ItemIndex"), suiComboBoxRok->currentIndex());
    if (index < 0 || index >= suiComboBoxRok->count()) return;
    const QSignalBlocker quiet(suiComboBoxRok);
    suiComboBoxRok->setCurrentIndex(index);
}

void TForm1::saveYear() {
    common::FormStorage().write(formSection, QStringLiteral("suiComboBoxRok_ItemIndex"), suiComboBoxRok->currentIndex());
}

} // namespace dorvik::app
