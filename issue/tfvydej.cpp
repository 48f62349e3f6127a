#include "issue/tfvydej.h"

#include "common/databasetext.h"
#include "common/dateedit.h"
#include "common/errordisplay.h"
#include "common/gridmodel.h"
#include "common/gridview.h"
#include "common/progresswindow.h"
#include "common/routines.h"
#include "common/tracefile.h"
#include "db/connection.h"
#include "db/savecheck.h"
#include "db/scratchtable.h"
#include "db/scriptrunner.h"
#include "invoicing/invoicebuilder.h"
#include "invoicing/tfvytfakt.h"
#include "issue/documentsave.h"
#include "issue/issuesql.h"
#include "issue/linelogic.h"
#include "issue/tfterm.h"
#include "pickers/pickerqueries.h"
#include "pickers/tfnabadres.h"
#include "pickers/tfnabzakaz.h"
#include "pickers/tfnabzbozi.h"

#include <QApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

namespace dorvik::issue {

using common::MessageIcon;

namespace {

const QString NoOwnDescriptions = QStringLiteral("27354910");

QDateTime asDateTime(const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime) return value.toDateTime();
    return QDateTime::fromString(value.toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString numberText(const QVariant& value) { return common::generalDecimal(value.toDouble()); }

// Switches a set of hot keys back on when the handler ends, however it ends.
class KeysBack {
public:
    explicit KeysBack(std::function<void()> on) : on_(std::move(on)) {}
    ~KeysBack() { on_(); }
    KeysBack(const KeysBack&) = delete;
    KeysBack& operator=(const KeysBack&) = delete;

private:
    std::function<void()> on_;
};

} // namespace

TFvydej::TFvydej(const common::RegisterContext& context, QChar documentMode, qint64 documentNumber, bool internal,
                 bool terminalEnabled, const EditorPickers& pickers, QWidget* parent)
    : QDialog(parent), context_(context), mode_(documentMode), number_(documentNumber), internal_(internal),
      pickers_(pickers), header_(context.connection, db::scratchTable(context.workstation(), QStringLiteral("dl"))),
      lines_(context.connection, db::scratchTable(context.workstation(), QStringLiteral("dlrad"))) {
    setObjectName(QStringLiteral("Fvydej"));
    setWindowTitle(QStringLiteral("Dorvik"));
    build();
    suiButton2->setEnabled(terminalEnabled);
}

TFvydej::~TFvydej() {
    if (shown_ && !closed_) common::guarded([this] { closeStep(); });
}

bool TFvydej::lineOpen() const { return lines_.state() != db::EditableTable::State::Browse; }

// ---- building -------------------------------------------------------------------------------

namespace {

QLineEdit* field(const char* name, QWidget* parent, int maxLength = 0, bool readOnly = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setReadOnly(readOnly);
    return e;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    if (buddy) l->setBuddy(buddy);
    return l;
}

QLineEdit* total(const char* name, QWidget* parent) {
    QLineEdit* e = field(name, parent, 0, true);
    e->setText(QStringLiteral("0,00"));
    e->setAlignment(Qt::AlignRight);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

} // namespace

QWidget* TFvydej::buildHeader() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PanelHlavicka"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(panel);

    DBDateEdit1 = new common::DateEdit(QStringLiteral("DBDateEdit1"), panel);
    EditICO = field("EditICO", panel, 15);
    DBEdit8 = field("DBEdit8", panel, 50, true);
    DBEdit10 = field("DBEdit10", panel, 40);
    DBEdit7 = field("DBEdit7", panel, 40);
    DBEdit7->setAccessibleName(QStringLiteral("Ulice, číslo"));
    suiDBEdit1 = field("suiDBEdit1", panel, 20);
    DBEdit9 = field("DBEdit9", panel, 15);
    DBEdit11 = field("DBEdit11", panel, 15);
    suiDBEdit2 = field("suiDBEdit2", panel, 100);
    suiDBEdit3 = field("suiDBEdit3", panel, 100);
    suiDBEdit4 = field("suiDBEdit4", panel, 100);
    Button8 = button("Button8", QStringLiteral("Nabídka   F3"), panel);
    Button1 = button("Button1", QStringLiteral("Nabídka"), panel);
    Button9 = button("Button9", QStringLiteral("Uložit"), panel);
    Button10 = button("Button10", QStringLiteral("Zpět"), panel);
    Label15 = new QLabel(QStringLiteral("VNITRO"), panel);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label20 = new QLabel(QStringLiteral("Sleva 8 %"), panel);
    Label20->setObjectName(QStringLiteral("Label20"));
    for (QLabel* l : {Label15, Label20}) l->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    Label20->hide();
    EditSoucetS = total("EditSoucetS", panel);
    EditSoucetN = total("EditSoucetN", panel);
    EditSoucetV = total("EditSoucetV", panel);
    EditSoucetC = total("EditSoucetC", panel);
    EditSoucetC->setAccessibleName(QStringLiteral("Celkem"));
    EditCelkemDPH = total("EditCelkemDPH", panel);

    g->addWidget(label(QStringLiteral("&Datum"), DBDateEdit1, panel), 0, 0);
    g->addWidget(DBDateEdit1, 0, 1);
    g->addWidget(Label15, 0, 2);
    g->addWidget(Label20, 0, 3);
    g->addWidget(label(QStringLiteral("&IČO"), EditICO, panel), 1, 0);
    g->addWidget(EditICO, 1, 1);
    g->addWidget(Button8, 1, 2);
    g->addWidget(label(QStringLiteral("Název"), DBEdit8, panel), 2, 0);
    g->addWidget(DBEdit8, 2, 1, 1, 3);
    g->addWidget(label(QStringLiteral("Sídlo"), DBEdit10, panel), 3, 0);
    g->addWidget(DBEdit10, 3, 1, 1, 3);
    g->addWidget(DBEdit7, 4, 1, 1, 3);
    g->addWidget(label(QStringLiteral("DIČ"), suiDBEdit1, panel), 5, 0);
    g->addWidget(suiDBEdit1, 5, 1);
    g->addWidget(label(QStringLiteral("&Objednávka"), DBEdit9, panel), 1, 4);
    g->addWidget(DBEdit9, 1, 5);
    g->addWidget(label(QStringLiteral("&Zakázka"), DBEdit11, panel), 2, 4);
    g->addWidget(DBEdit11, 2, 5);
    g->addWidget(Button1, 2, 6);
    g->addWidget(label(QStringLiteral("Text na fa"), suiDBEdit2, panel), 3, 4);
    g->addWidget(suiDBEdit2, 3, 5, 1, 2);
    g->addWidget(label(QStringLiteral("začátek"), suiDBEdit3, panel), 4, 4);
    g->addWidget(suiDBEdit3, 4, 5, 1, 2);
    g->addWidget(label(QStringLiteral("konec"), suiDBEdit4, panel), 5, 4);
    g->addWidget(suiDBEdit4, 5, 5, 1, 2);

    auto* totals = new QHBoxLayout;
    totals->addWidget(label(QStringLiteral("Součet S"), EditSoucetS, panel));
    totals->addWidget(EditSoucetS);
    totals->addWidget(label(QStringLiteral("Součet N"), EditSoucetN, panel));
    totals->addWidget(EditSoucetN);
    totals->addWidget(label(QStringLiteral("Součet V"), EditSoucetV, panel));
    totals->addWidget(EditSoucetV);
    totals->addWidget(EditSoucetC);
    totals->addWidget(label(QStringLiteral("Celkem s DPH"), EditCelkemDPH, panel));
    totals->addWidget(EditCelkemDPH);
    totals->addStretch();
    totals->addWidget(Button9);
    totals->addWidget(Button10);
    g->addLayout(totals, 6, 0, 1, 7);
    return panel;
}

QWidget* TFvydej::buildLinePanel() {
    PanelRadek = new QFrame(this);
    PanelRadek->setObjectName(QStringLiteral("PanelRadek"));
    PanelRadek->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(PanelRadek);

    Edit1 = field("Edit1", PanelRadek, 255);
    Button3 = button("Button3", QStringLiteral("Nabídka   F3"), PanelRadek);
    // Read-only values are shown, not visited: Enter after a scan goes straight on.
    EditJKP = field("EditJKP", PanelRadek, 0, true);
    DBEdit1 = field("DBEdit1", PanelRadek, 0, true);
    DBEdit2 = field("DBEdit2", PanelRadek, 40, true);
    suiButton3 = button("suiButton3", QStringLiteral("T"), PanelRadek);
    suiButton3->setToolTip(QStringLiteral("Uvolní text"));
    suiButton3->hide();
    DBEdit4 = field("DBEdit4", PanelRadek);
    DBEdit3 = field("DBEdit3", PanelRadek, 0, true);
    DBEdit3->setAccessibleName(QStringLiteral("MJ"));
    DBEdit12 = field("DBEdit12", PanelRadek, 0, true);
    DBEdit5 = field("DBEdit5", PanelRadek);
    DBEdit6 = field("DBEdit6", PanelRadek, 0, true);
    for (QLineEdit* e : {EditJKP, DBEdit1, DBEdit2, DBEdit3, DBEdit12, DBEdit6}) e->setFocusPolicy(Qt::NoFocus);
    for (QLineEdit* e : {DBEdit4, DBEdit5, DBEdit6}) e->setAlignment(Qt::AlignRight);
    Button4 = button("Button4", QStringLiteral("Zapsat  ^Enter"), PanelRadek);
    Button5 = button("Button5", QStringLiteral("Zpět"), PanelRadek);
    LabelDPH = label(QStringLiteral("DPH"), DBEdit12, PanelRadek);
    LabelDPH->setObjectName(QStringLiteral("LabelDPH"));
    LabelPC = label(QStringLiteral("PC bez DPH"), DBEdit5, PanelRadek);
    LabelPC->setObjectName(QStringLiteral("LabelPC"));

    g->addWidget(label(QStringLiteral("&Vstup"), Edit1, PanelRadek), 0, 0);
    g->addWidget(Edit1, 0, 1, 1, 2);
    g->addWidget(Button3, 0, 3);
    g->addWidget(label(QStringLiteral("JKP"), EditJKP, PanelRadek), 1, 0);
    g->addWidget(EditJKP, 1, 1);
    g->addWidget(label(QStringLiteral("EAN"), DBEdit1, PanelRadek), 1, 2);
    g->addWidget(DBEdit1, 1, 3);
    g->addWidget(label(QStringLiteral("Název"), DBEdit2, PanelRadek), 2, 0);
    g->addWidget(DBEdit2, 2, 1, 1, 3);
    g->addWidget(suiButton3, 2, 4);
    g->addWidget(label(QStringLiteral("&Množství"), DBEdit4, PanelRadek), 3, 0);
    g->addWidget(DBEdit4, 3, 1);
    g->addWidget(DBEdit3, 3, 2);
    g->addWidget(LabelDPH, 3, 3);
    g->addWidget(DBEdit12, 3, 4);
    g->addWidget(LabelPC, 4, 0);
    g->addWidget(DBEdit5, 4, 1);
    g->addWidget(label(QStringLiteral("Celkem"), DBEdit6, PanelRadek), 4, 2);
    g->addWidget(DBEdit6, 4, 3);
    g->addWidget(Button4, 5, 3);
    g->addWidget(Button5, 5, 4);
    PanelRadek->hide();
    return PanelRadek;
}

void TFvydej::build() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());

    linesModel_ = new common::GridModel(this);
    linesModel_->setColumns({{QStringLiteral("JKPOV"), QStringLiteral("JKP"), 110, {}},
                             {QStringLiteral("NAZEV"), QStringLiteral("Název"), 260, {}},
                             {QStringLiteral("MNOZ"), QStringLiteral("Množství"), 80, common::QuantityFormat},
                             {QStringLiteral("MJ"), QStringLiteral("MJ"), 40, {}},
                             {QStringLiteral("PC"), QStringLiteral("Cena"), 90, common::MoneyFormat},
                             {QStringLiteral("PCR"), QStringLiteral("Celkem řádek"), 100, common::MoneyFormat}});
    DBGrid1 = new common::GridView(linesModel_, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->applyColumnWidths();
    Button2 = button("Button2", QStringLiteral("Přidat    ^P"), this);
    ButtonOpravit = button("ButtonOpravit", QStringLiteral("Opravit  ^O"), this);
    suiButton1 = button("suiButton1", QStringLiteral("Smazat řádek"), this);
    suiButton2 = button("suiButton2", QStringLiteral("Terminál"), this);
    auto* grid = new QHBoxLayout;
    grid->addWidget(DBGrid1, 1);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {Button2, ButtonOpravit, suiButton1, suiButton2}) side->addWidget(b);
    side->addStretch();
    grid->addLayout(side);
    layout->addLayout(grid, 1);
    layout->addWidget(buildLinePanel());

    // Focus order: the header fields, then the buttons; the line panel's fields.
    const QList<QWidget*> order{DBDateEdit1, EditICO, DBEdit8, DBEdit10, DBEdit7, suiDBEdit1, DBEdit9, DBEdit11,
                                suiDBEdit2, suiDBEdit3, suiDBEdit4, Button8, Button1, DBGrid1, Button2, ButtonOpravit,
                                suiButton1, suiButton2, Edit1, DBEdit2, DBEdit4, DBEdit5, Button4, Button5, Button3,
                                suiButton3, Button9, Button10};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    const auto bind = [this](QLineEdit* e, const char* column) {
        connect(e, &QLineEdit::textEdited, this, [this, column](const QString& text) {
            common::guarded([&] { setHeader(QLatin1String(column), text); });
        });
    };
    for (QLineEdit* e : {EditICO, DBEdit10, DBEdit7, suiDBEdit1, DBEdit9, DBEdit11, suiDBEdit2, suiDBEdit3, suiDBEdit4,
                         Edit1, DBEdit2})
        common::keepToDatabaseCharacters(e, messages_);
    bind(EditICO, "ICO");
    bind(DBEdit10, "SIDLO");
    bind(DBEdit7, "ULICECISLO");
    bind(suiDBEdit1, "DIC");
    bind(DBEdit9, "OBJEDNAVKA");
    bind(DBEdit11, "ZAKAZKA");
    bind(suiDBEdit2, "TEXT1");
    bind(suiDBEdit3, "TEXT2");
    bind(suiDBEdit4, "TEXT3");
    connect(DBDateEdit1, &QDateEdit::dateChanged, this, [this](QDate date) {
        if (showing_) return;
        common::guarded([&] {
            const QDateTime old = asDateTime(header_.value(QStringLiteral("DATUM")));
            setHeader(QStringLiteral("DATUM"), QDateTime(date, old.isValid() ? old.time() : QTime(0, 0)));
        });
    });
    connect(DBEdit2, &QLineEdit::textEdited, this, [this](const QString& text) {
        common::guarded([&] {
            if (lineOpen()) lines_.setValue(QStringLiteral("NAZEV"), text);
        });
    });

    connect(Button8, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button8Click));
    connect(Button1, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button1Click));
    connect(Button9, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button9Click));
    connect(Button10, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button10Click));
    connect(Button2, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button2Click));
    connect(ButtonOpravit, &QPushButton::clicked, this, common::guard(this, &TFvydej::ButtonOpravitClick));
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, common::guard(this, &TFvydej::ButtonOpravitClick));
    connect(suiButton1, &QPushButton::clicked, this, common::guard(this, &TFvydej::suiButton1Click));
    connect(suiButton2, &QPushButton::clicked, this, common::guard(this, &TFvydej::suiButton2Click));
    connect(Button3, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button3Click));
    connect(suiButton3, &QPushButton::clicked, this, common::guard(this, &TFvydej::suiButton3Click));
    connect(Button4, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button4Click));
    connect(Button5, &QPushButton::clicked, this, common::guard(this, &TFvydej::Button5Click));
    for (QWidget* w : {static_cast<QWidget*>(EditICO), static_cast<QWidget*>(suiDBEdit1), static_cast<QWidget*>(Edit1),
                       static_cast<QWidget*>(DBEdit4), static_cast<QWidget*>(DBEdit5)})
        w->installEventFilter(this);

    const auto key = [this](QList<QShortcut*>& keys, const QKeySequence& sequence, void (TFvydej::*handler)()) {
        auto* s = new QShortcut(sequence, this);
        s->setEnabled(false);
        connect(s, &QShortcut::activated, this, common::guard(this, handler));
        keys << s;
    };
    key(headerKeys_, QKeySequence(Qt::Key_F3), &TFvydej::Button8Click);
    key(headerKeys_, QKeySequence(Qt::CTRL | Qt::Key_P), &TFvydej::Button2Click);
    key(headerKeys_, QKeySequence(Qt::CTRL | Qt::Key_O), &TFvydej::ButtonOpravitClick);
    key(lineKeys_, QKeySequence(Qt::CTRL | Qt::Key_Return), &TFvydej::Button4Click);
    key(lineKeys_, QKeySequence(Qt::CTRL | Qt::Key_Enter), &TFvydej::Button4Click);
    key(lineKeys_, QKeySequence(Qt::Key_F3), &TFvydej::Button3Click);
    resize(900, 640);
}

void TFvydej::setHeaderKeys(bool on) {
    for (QShortcut* s : headerKeys_) s->setEnabled(on);
}

void TFvydej::setLineKeys(bool on) {
    for (QShortcut* s : lineKeys_) s->setEnabled(on);
}

// ---- keys and focus ---------------------------------------------------------------------------

void TFvydej::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & Qt::ControlModifier)) {
        // Enter moves on as Tab does; on a button it presses the button.
        if (auto* b = qobject_cast<QPushButton*>(QApplication::focusWidget()); b && isAncestorOf(b))
            b->click();
        else
            focusNextChild();
        return;
    }
    // There is no leaving without "Zpět" or the close box.
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

bool TFvydej::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut || inExit_) return QDialog::eventFilter(watched, event);
    // Only a move inside the window is leaving a field; a message box or another window is not.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return QDialog::eventFilter(watched, event);
    QWidget* next = QApplication::focusWidget();
    inExit_ = true;
    common::guarded([&] {
        if (watched == EditICO)
            EditICOExit(next);
        else if (watched == suiDBEdit1)
            suiDBEdit1Exit(next);
        else if (watched == Edit1)
            Edit1Exit(next);
        else if (watched == DBEdit4 || watched == DBEdit5)
            DBEdit4Exit(next);
    });
    inExit_ = false;
    return QDialog::eventFilter(watched, event);
}

// ---- opening and closing ----------------------------------------------------------------------

void TFvydej::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    common::guarded([this] { FormShow(); });
}

void TFvydej::FormShow() {
    common::BusyCursor busy;
    const QString& pc = context_.workstation();
    pickers_.addresses.setQuery(pickers::addressQuery(internal_));
    Label15->setVisible(internal_);
    if (internal_) {
        LabelPC->setText(QStringLiteral("NC"));
        DBEdit5->setReadOnly(true);
        LabelDPH->hide();
        DBEdit12->hide();
    }
    db::runScript(context_.connection, stockSnapshotBatch(pc, context_.costCentre));
    setHeaderKeys(true);
    if (mode_ == u'O')
        PripravOprava();
    else
        PripravNovy();
    terminalKey_.clear();
}

void TFvydej::PripravNovy() {
    db::Connection& c = context_.connection;
    for (const QString& sql : newHeaderStatements(context_.workstation())) c.execute(sql);
    header_.open();
    header_.insert();
    header_.setValue(QStringLiteral("STREDISKO"), context_.costCentre);
    const QDateTime now = QDateTime::currentDateTime();
    header_.setValue(QStringLiteral("DATUM"), QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second())));
    for (const QString& sql : newLinesStatements(context_.workstation())) c.execute(sql);
    lines_.open();
    showHeader();
    showLines(0);
    nactiCiselniky();
    DBDateEdit1->setFocus();
}

void TFvydej::PripravOprava() {
    db::Connection& c = context_.connection;
    for (const QString& sql : correctionHeaderStatements(context_.workstation(), number_)) c.execute(sql);
    header_.open();
    header_.edit(0);
    for (const QString& sql : correctionLinesStatements(context_.workstation(), number_)) c.execute(sql);
    copied_ = copiedDocumentStamp(c, context_.workstation());
    lines_.open();
    showHeader();
    showLines(0);
    SoucetD();
    nactiCiselniky();
    DBDateEdit1->setFocus();
}

void TFvydej::nactiCiselniky() {
    common::ProgressWindow progress(QStringLiteral("Výdejka - načítám číselníky"));
    progress.showNow();
    progress.setText(QStringLiteral("Výdejka - načítám adresář"));
    partners_ = context_.connection.query(pickers_.addresses.query());
    pickers_.goods.setQuery(pickers::goodsQuery(context_.costCentre));
    progress.setText(QStringLiteral("Výdejka - načítám seznam 2"));
    progress.setText(QStringLiteral("Výdejka - načítám EAN"));
    progress.setText(QStringLiteral("Výdejka - načítám FOFR"));
    const db::ResultSet fast = context_.connection.query(fastNumberListSql(context_.costCentre));
    fastNumbers_.clear();
    fastNumbers_.reserve(fast.rowCount());
    for (int r = 0; r < fast.rowCount(); ++r) fastNumbers_.insert(fast.integer(r, 0), fast.text(r, 1));
    QCoreApplication::processEvents();
}

void TFvydej::done(int result) {
    if (!closed_) common::guarded([this] { closeStep(); });
    QDialog::done(result);
}

void TFvydej::closeStep() {
    closed_ = true;
    fastNumbers_.clear();
    partners_ = {};
    pickers_.addresses.closeList();
    pickers_.goods.closeList();
    setHeaderKeys(false);
    setLineKeys(false);
    db::runScript(context_.connection, closeBatch(context_.workstation()));
}

void TFvydej::Button10Click() {
    Button9->setEnabled(true);
    reject();
}

// ---- header -------------------------------------------------------------------------------------

void TFvydej::setHeader(const QString& column, const QVariant& value) {
    if (header_.state() == db::EditableTable::State::Browse) return;
    header_.setValue(column, value);
}

void TFvydej::showHeader() {
    showing_ = true;
    const auto text = [this](const char* column) { return header_.value(QLatin1String(column)).toString(); };
    const QDateTime datum = asDateTime(header_.value(QStringLiteral("DATUM")));
    if (datum.isValid()) DBDateEdit1->setDate(datum.date());
    EditICO->setText(text("ICO"));
    DBEdit8->setText(text("NAZEVPODNI"));
    DBEdit10->setText(text("SIDLO"));
    DBEdit7->setText(text("ULICECISLO"));
    suiDBEdit1->setText(text("DIC"));
    DBEdit9->setText(text("OBJEDNAVKA"));
    DBEdit11->setText(text("ZAKAZKA"));
    suiDBEdit2->setText(text("TEXT1"));
    suiDBEdit3->setText(text("TEXT2"));
    suiDBEdit4->setText(text("TEXT3"));
    showing_ = false;
}

void TFvydej::takePartner(const db::ResultSet& partners, int row) {
    for (const char* column : {"NAZEVPODNI", "SIDLO", "ULICECISLO", "PSC", "POSTA"})
        setHeader(QLatin1String(column), partners.text(row, QLatin1String(column)));
    setHeader(QStringLiteral("DIC"), partners.text(row, QStringLiteral("kod_platce")));
    const double sleva = partners.number(row, QStringLiteral("sleva"));
    if (sleva > 0) {
        Label20->setText(discountText(sleva));
        Label20->show();
    }
}

void TFvydej::EditICOExit(QWidget* next) {
    if (next == Button8 || next == Button10) return;
    Label20->hide();
    const QString ico = EditICO->text();
    const int icoColumn = partners_.columnIndex(QStringLiteral("ICO"));
    for (int r = 0; icoColumn >= 0 && r < partners_.rowCount(); ++r) {
        if (partners_.text(r, icoColumn) != ico) continue;
        takePartner(partners_, r);
        showHeader();
        return;
    }
    messages_.show(QStringLiteral("IČO nenalezeno."), MessageIcon::Stop);
    EditICO->setFocus();
}

void TFvydej::Button8Click() {
    Label20->hide();
    setHeaderKeys(false);
    KeysBack back([this] { setHeaderKeys(!PanelRadek->isVisible()); });
    pickers::TFnabadres& picker = pickers_.addresses;
    if (!picker.choose() || !picker.hasRow()) return;
    const db::ResultSet& partners = picker.list().result();
    const int row = picker.list().sourceRow(picker.list().currentRow());
    if (header_.state() == db::EditableTable::State::Browse) header_.edit(0);
    setHeader(QStringLiteral("ICO"), partners.text(row, QStringLiteral("ICO")));
    takePartner(partners, row);
    showHeader();
    DBEdit9->setFocus();
}

void TFvydej::Button1Click() {
    setHeaderKeys(false);
    KeysBack back([this] { setHeaderKeys(!PanelRadek->isVisible()); });
    const QString ico = header_.value(QStringLiteral("ICO")).toString();
    const QString name = header_.value(QStringLiteral("NAZEVPODNI")).toString();
    pickers::TFnabzakaz& picker = pickers_.orders;
    picker.setCustomer(ico, pickers::customerCaption(ico, name));
    if (!picker.choose() || !picker.hasRow()) return;
    if (header_.state() == db::EditableTable::State::Browse) header_.edit(0);
    setHeader(QStringLiteral("ZAKAZKA"), picker.text(QStringLiteral("zakazka")));
    showHeader();
    DBEdit11->setFocus();
}

// ---- lines --------------------------------------------------------------------------------------

QString TFvydej::lineText(const QString& column) const { return lines_.value(column).toString(); }

double TFvydej::lineNumber(const QString& column) const { return lines_.value(column).toDouble(); }

void TFvydej::showLines(int currentRow) {
    linesModel_->setResult(lines_.rows());
    if (linesModel_->rowCount() > 0) linesModel_->setCurrentRow(qBound(0, currentRow, linesModel_->rowCount() - 1));
}

void TFvydej::showLine() {
    EditJKP->setText(lineText(QStringLiteral("JKPOV")));
    DBEdit1->setText(lineText(QStringLiteral("EAN")));
    DBEdit2->setText(lineText(QStringLiteral("NAZEV")));
    DBEdit4->setText(numberText(lines_.value(QStringLiteral("MNOZ"))));
    DBEdit3->setText(lineText(QStringLiteral("MJ")));
    DBEdit12->setText(numberText(lines_.value(QStringLiteral("DPH"))));
    DBEdit5->setText(numberText(lines_.value(QStringLiteral("PC"))));
    DBEdit6->setText(numberText(lines_.value(QStringLiteral("PCR"))));
}

void TFvydej::openPanel() {
    setHeaderKeys(false);
    DBEdit2->setReadOnly(true);
    DBEdit2->setFocusPolicy(Qt::NoFocus);
    PanelRadek->show();
}

void TFvydej::Button2Click() {
    openPanel();
    lines_.insert();
    lines_.setValue(QStringLiteral("STREDISKO"), context_.costCentre);
    lines_.setValue(QStringLiteral("CISLODOKLA"), number_);
    suiButton3->hide();
    showLine();
    Edit1->clear();
    Edit1->setFocus();
    setLineKeys(true);
}

void TFvydej::ButtonOpravitClick() {
    if (linesModel_->currentRow() < 0) return;
    openPanel();
    lines_.edit(linesModel_->sourceRow(linesModel_->currentRow()));
    showLine();
    Edit1->clear();
    DBEdit4->setFocus();
    setLineKeys(true);
    const bool service = lineText(QStringLiteral("POVAHA")) == u'P';
    if (internal_) DBEdit5->setReadOnly(!service);
    suiButton3->setVisible(service);
}

bool TFvydej::refuseEntry(const QString& text) {
    messages_.show(text, MessageIcon::Stop);
    Edit1->setFocus();
    // The next scan replaces the refused code instead of being appended to it. Selected once
    // the focus change that ran this check is over: leaving the field clears a selection.
    QTimer::singleShot(0, Edit1, &QLineEdit::selectAll);
    return false;
}

void TFvydej::Edit1Exit(QWidget* next) {
    if (!lineOpen()) return;
    if (next == Button3 || next == Button5 || next == Button10 || Edit1->text().isEmpty()) return;
    const EntryCode entry = parseEntry(Edit1->text());
    Edit1->setText(entry.text);
    QString code = entry.code;
    const QString notFound = QStringLiteral("Položka nenalezena.");
    db::Connection& c = context_.connection;
    if (isFastNumber(code)) {
        bool ok = false;
        const qint64 fast = code.toLongLong(&ok);
        const auto found = ok ? fastNumbers_.constFind(fast) : fastNumbers_.cend();
        if (found == fastNumbers_.cend()) {
            refuseEntry(notFound);
            return;
        }
        code = *found;
    }
    if (isEan(code)) {
        const db::ResultSet ean = c.query(eanSql(context_.costCentre, code));
        if (ean.rowCount() == 0) {
            refuseEntry(notFound);
            return;
        }
        code = ean.text(0, QStringLiteral("JKPOV"));
    }
    const db::ResultSet item = c.query(itemSql(context_.costCentre, code));
    if (item.rowCount() != 1) {
        refuseEntry(notFound);
        return;
    }
    const QString povaha = item.text(0, QStringLiteral("POVAHA"));
    if (povaha != u'P' && item.number(0, QStringLiteral("ZUSTATEK")) == 0) {
        refuseEntry(QStringLiteral("Položka není na skladě"));
        return;
    }
    for (const char* column : {"JKPOV", "NAZEV", "MJ"})
        lines_.setValue(QLatin1String(column), item.text(0, QLatin1String(column)));
    if (context_.ownIco != NoOwnDescriptions)
        for (const char* column : {"POPIS", "POPIS2"})
            lines_.setValue(QLatin1String(column), item.text(0, QLatin1String(column)));
    lines_.setValue(QStringLiteral("EAN"), item.text(0, QStringLiteral("EAN")));
    lines_.setValue(QStringLiteral("PC"), item.number(0, QStringLiteral("PC")));
    lines_.setValue(QStringLiteral("DPH"), item.integer(0, QStringLiteral("DPH")));
    lines_.setValue(QStringLiteral("POVAHA"), povaha);
    lines_.setValue(QStringLiteral("FOFRCISLO"), item.integer(0, QStringLiteral("FOFRCISLO")));
    lines_.setValue(QStringLiteral("NC"), item.number(0, QStringLiteral("NC")));
    lines_.setValue(QStringLiteral("ZUSTATEK"), item.number(0, QStringLiteral("ZUSTATEK")));
    if (internal_) {
        DBEdit5->setReadOnly(true);
        lines_.setValue(QStringLiteral("DPH"), 0);
        if (povaha != u'P')
            lines_.setValue(QStringLiteral("PC"), item.number(0, QStringLiteral("NC")));
        else
            DBEdit5->setReadOnly(false);
    }
    if (entry.quantity > 0) lines_.setValue(QStringLiteral("MNOZ"), common::roundTo(4, entry.quantity));
    suiButton3->setVisible(povaha == u'P');
    showLine();
    DBEdit4->setFocus();
}

void TFvydej::DBEdit4Exit(QWidget* next) {
    if (!lineOpen()) return;
    const double quantity = common::roundTo(4, common::parseNumber(DBEdit4->text()));
    const double price = common::roundTo(2, common::parseNumber(DBEdit5->text()));
    lines_.setValue(QStringLiteral("MNOZ"), quantity);
    lines_.setValue(QStringLiteral("PC"), price);
    DBEdit4->setText(common::generalDecimal(quantity));
    DBEdit5->setText(common::generalDecimal(price));
    if (next == Button3 || next == Button5 || next == Button10) return;
    const QString povaha = lineText(QStringLiteral("POVAHA"));
    if (breaksPieceRule(povaha, quantity)) {
        messages_.show(QStringLiteral("Položka jen na celé KS."), MessageIcon::Stop);
        DBEdit4->setFocus();
    }
    const double stock = lineNumber(QStringLiteral("ZUSTATEK"));
    if (povaha != u'P' && stock < quantity) {
        messages_.show(stockMessage(stock, lineText(QStringLiteral("MJ"))), MessageIcon::Stop);
        DBEdit4->setFocus();
    }
    lines_.setValue(QStringLiteral("CENAR"), common::roundTo(2, lineNumber(QStringLiteral("NC")) * quantity));
    lines_.setValue(QStringLiteral("PCR"), common::roundTo(2, price * quantity));
    DBEdit6->setText(numberText(lines_.value(QStringLiteral("PCR"))));
}

void TFvydej::Button4Click() {
    if (!lineOpen()) return;
    // Reached by Ctrl+Enter from a value field: that field has not been left yet.
    if (QWidget* focus = QApplication::focusWidget(); focus == DBEdit4 || focus == DBEdit5) {
        inExit_ = true;
        const bool ok = common::guarded([&] { DBEdit4Exit(Button4); });
        inExit_ = false;
        if (!ok) return;
    }
    if (lineText(QStringLiteral("JKPOV")).isEmpty()) {
        refuseEntry(QStringLiteral("Položka nenalezena."));
        return;
    }
    if (lineNumber(QStringLiteral("MNOZ")) == 0) {
        messages_.show(QStringLiteral("Není vyplněno množství."), MessageIcon::Stop);
        DBEdit4->setFocus();
        return;
    }
    if (lineNumber(QStringLiteral("PC")) == 0) {
        messages_.show(QStringLiteral("Není vyplněna PC."), MessageIcon::Stop);
        DBEdit5->setFocus();
        return;
    }
    const bool added = lines_.state() == db::EditableTable::State::Insert;
    const QDateTime now = QDateTime::currentDateTime();
    lines_.setValue(QStringLiteral("KDY"), QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second())));
    const int current = added ? lines_.rowCount() : linesModel_->currentRow();
    lines_.post();
    showLines(current);
    Button5Click();
}

void TFvydej::Button5Click() {
    if (lineOpen()) {
        lines_.cancel();
        showLines(linesModel_->currentRow());
    }
    SoucetD();
    setLineKeys(false);
    DBEdit2->setReadOnly(true);
    DBEdit2->setFocusPolicy(Qt::NoFocus);
    PanelRadek->hide();
    setHeaderKeys(true);
}

void TFvydej::suiButton3Click() {
    DBEdit2->setReadOnly(false);
    DBEdit2->setFocusPolicy(Qt::StrongFocus);
    DBEdit2->setFocus();
}

void TFvydej::Button3Click() {
    setLineKeys(false);
    KeysBack back([this] { setLineKeys(PanelRadek->isVisible()); });
    pickers::TFnabzbozi& picker = pickers_.goods;
    picker.setWorkstation(context_.workstation());
    picker.setRecalculateStock(context_.settings.recalculateStock == u'A');
    if (!picker.choose() || !picker.hasRow()) return;
    Edit1->setText(picker.text(QStringLiteral("JKPOV")));
    Edit1->setFocus();
}

void TFvydej::suiButton1Click() {
    if (linesModel_->currentRow() < 0) return;
    setHeaderKeys(false);
    KeysBack back([this] { setHeaderKeys(!PanelRadek->isVisible()); });
    const int row = linesModel_->currentRow();
    if (!messages_.show(QStringLiteral("Opravdu smazat řádek?"), MessageIcon::Question,
                        {QStringLiteral("Smazat"), QStringLiteral("Ne")}))
        return;
    lines_.remove(linesModel_->sourceRow(row));
    showLines(row);
    SoucetD();
}

void TFvydej::SoucetD() {
    const int current = linesModel_->currentRow();
    DBGrid1->setUpdatesEnabled(false);
    Totals totals;
    const db::ResultSet& rows = lines_.rows();
    const int dph = rows.columnIndex(QStringLiteral("DPH"));
    const int pcr = rows.columnIndex(QStringLiteral("PCR"));
    for (int r = 0; r < rows.rowCount(); ++r) totals.add(int(rows.integer(r, dph)), rows.number(r, pcr));
    EditSoucetC->setText(totalText(totals.total()));
    EditSoucetN->setText(totalText(totals.n));
    EditSoucetV->setText(totalText(totals.v));
    EditSoucetS->setText(totalText(totals.s));
    // As the invoice will compute it, so the two never differ by a heller.
    EditCelkemDPH->setText(totalText(invoicing::totalWithVat(rows, DBDateEdit1->date().year())));
    if (current >= 0 && current < linesModel_->rowCount()) linesModel_->setCurrentRow(current);
    DBGrid1->setUpdatesEnabled(true);
    DBGrid1->setFocus();
}

// ---- saving and terminal lists --------------------------------------------------------------------

void TFvydej::Button9Click() {
    if (const QString refusal = common::laterYearRefusal(QStringLiteral("Datum"), DBDateEdit1->date()); !refusal.isEmpty()) {
        messages_.show(refusal, MessageIcon::Stop, {QStringLiteral("Zpět")});
        DBDateEdit1->setFocus();
        return;
    }
    Button9->setEnabled(false);
    header_.post();
    const db::ResultSet closed = context_.connection.query(closedPeriodSql());
    const QString closedMonth = closed.rowCount() > 0 ? closed.text(0, 0) : QString();
    const QString month = header_.rows().dateTime(0, QStringLiteral("DATUM")).toString(QStringLiteral("yyyyMM"));
    if (inClosedPeriod(closedMonth, month)) {
        messages_.show(QStringLiteral("Datum DPH je v již uzavřeném ÚO!"), MessageIcon::Stop, {QStringLiteral("Zpět")});
        header_.edit(0);
        DBDateEdit1->setFocus();
        Button9->setEnabled(true);
        return;
    }
    const QString invoice = header_.rows().text(0, QStringLiteral("CISLOFAKT")).trimmed();
    // The invoice is made again from the saved lines; one it could not make must not leave
    // the document and its invoice disagreeing.
    if (const QString unknown = invoicing::unknownRateText(lines_.rows(), DBDateEdit1->date().year());
        !invoice.isEmpty() && !unknown.isEmpty()) {
        messages_.show(unknown + QStringLiteral(" Doklad má fakturu %1, oprava nebyla uložena.").arg(invoice), MessageIcon::Stop,
                       {QStringLiteral("Zpět")});
        header_.edit(0);
        Button9->setEnabled(true);
        return;
    }
    // The tables are closed while the batch runs; a failed save leaves them so.
    linesModel_->setResult({});
    SaveRequest request{context_.workstation(), context_.costCentre, mode_, number_, internal_, terminalKey_, copied_};
    const qint64 before = number_;
    SaveResult saved;
    try {
        saved = saveDocument(context_.connection, request, [this](qint64 n) { number_ = n; });
    } catch (const db::ChangedMeanwhile&) {
        // Nothing was written; what the user typed stays on screen, but it cannot be saved over
        // the other workstation's change.
        showLines(0);
        messages_.show(QStringLiteral("Doklad %1 mezitím změnila jiná stanice (opravila ho nebo vystavila jeho fakturu). "
                                      "Oprava nebyla uložena. Zavřete okno tlačítkem Zpět a doklad otevřete znovu.")
                           .arg(number_),
                       MessageIcon::Stop);
        return;
    } catch (const db::NotStored& notStored) {
        // Nothing was written and the scratch tables are whole: the same save may go again.
        number_ = before;
        header_.open();
        header_.edit(0);
        lines_.open();
        showLines(0);
        messages_.show(notStored.message(), MessageIcon::Stop);
        Button9->setEnabled(true);
        return;
    }
    if (saved.answerLost)
        messages_.show(QStringLiteral("Spojení se serverem se při ukládání přerušilo, doklad %1 ale byl uložen.").arg(saved.number),
                       MessageIcon::Information);
    terminalKey_.clear();
    if (!invoice.isEmpty()) {
        bool ok = false;
        const qint64 invoiceNumber = invoice.toLongLong(&ok);
        if (!ok) throw std::invalid_argument(QStringLiteral("'%1' není platné celé číslo").arg(invoice).toStdString());
        invoicing::TFvytfakt rewrite(context_, invoiceNumber, this);
        rewrite.exec();
    }
    Button10Click();
}

void TFvydej::suiButton2Click() {
    setHeaderKeys(false);
    KeysBack back([this] { setHeaderKeys(!PanelRadek->isVisible()); });
    terminalKey_.clear();
    TFterm lists(context_.connection, context_.costCentre, this);
    if (lists.exec() != QDialog::Accepted) return;
    const QString key = lists.currentCustomer();
    linesModel_->setResult({});
    const QStringList batch = terminalImportBatch(context_.workstation(), context_.costCentre, key, internal_);
    common::writeTrace(QStringLiteral("a4.txt"), batch);
    try {
        db::runScript(context_.connection, batch);
    } catch (...) {
        lines_.open();
        showLines(0);
        SoucetD();
        throw;
    }
    terminalKey_ = key;
    lines_.open();
    showLines(0);
    SoucetD();
}

} // namespace dorvik::issue
