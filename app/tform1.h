#pragma once

#include "app/registerlogic.h"
#include "common/prompter.h"
#include "common/registercontext.h"
#include "common/startupsettings.h"
#include "db/connection.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QSplitter;

namespace dorvik::common {
class GridModel;
class GridView;
} // namespace dorvik::common

namespace dorvik::reporting {
class ReportRunner;
}

namespace dorvik::app {

// The master-data windows of the menu "Servis".
enum class MasterDataWindow { Addresses, Orders, Cards };

// The document register: the program's main window. It lists the issue documents of the
// current cost centre by kind and year, shows the lines of the current one, and holds
// what the other windows take over (connection, cost centre, own IČO, current document).
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // The settings file is read when the window is first shown.
    explicit TForm1(QString settingsPath, QWidget* parent = nullptr);
    ~TForm1() override;

    db::Connection& connection() { return connection_; }
    const common::StartupSettings& settings() const { return settings_; }
    const QString& costCentre() const { return costCentre_; }
    const QString& ownIco() const { return ownIco_; }
    RegisterMode mode() const { return mode_; }
    bool centrumMode() const;
    common::GridModel& documents() { return *documents_; }
    common::GridModel& lines() { return *lines_; }
    // The result row of the current document, -1 when the list is empty.
    int currentDocumentRow() const;
    // What the windows opened from here receive.
    common::RegisterContext context();

    // Opens the issue document editor and returns the number it saved (0: nothing).
    std::function<qint64(const EditorRequest&)> editorOpener;
    // Opens a master-data window modally.
    std::function<void(MasterDataWindow)> masterDataOpener;

    // The handlers, named after their controls.
    void FormShow();
    void ButtonDLClick() { selectMode(RegisterMode::DL); }
    void ButtonFAClick() { selectMode(RegisterMode::FA); }
    void ButtonVPClick() { selectMode(RegisterMode::VP); }
    void suiComboBoxRokChange();
    void NovyDokladClick();
    void OpravitDokladClick();
    void GeneraceFakturyClick();
    void TiskDokladuClick();
    void TiskFakturyClick();
    void StrediskoClick();
    void DokumentaceClick();
    void OdpisUctenekClick();
    void NeodepsaneUctenkyClick();
    void SestavySkladClick();
    void SestavyTrzbyClick();
    void KontrolaVerzeClick() { runVersionCheck(true); }
    void SestavyInventuraClick();
    void SestavyVydejkyClick();
    void SestavyFakturyClick();
    void SestavyZakazkyClick();
    void AdresarClick() { openMasterData(MasterDataWindow::Addresses); }
    void ZakazkyClick() { openMasterData(MasterDataWindow::Orders); }
    void ZakaznickeKartyClick() { openMasterData(MasterDataWindow::Cards); }
    // Reloads the list with unchanged filters and moves to the document if it is listed, else
    // to the document that was current if that one is; else the list starts at its first row.
    void reloadAndLocate(qint64 documentNumber);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Lets the window reach the screen and paints it before a long first step.
    void showOnScreen();
    void buildMenu();
    void buildBottomPanel(QWidget* panel);
    void selectMode(RegisterMode mode);
    void loadList();
    void currentDocumentChanged();
    void openEditor(const EditorRequest& request);
    void versionCheckAtStart();
    void runVersionCheck(bool reportConnectionError);
    void openMasterData(MasterDataWindow window);
    void restoreYear();
    void saveYear();

    QString settingsPath_;
    common::StartupSettings settings_;
    db::Connection connection_;
    QString costCentre_;
    QString ownIco_;
    RegisterMode mode_ = RegisterMode::DL;
    bool shown_ = false;
    common::MessageBox messages_{QStringLiteral("Dorvik")};

    common::GridModel* documents_;
    common::GridModel* lines_;
    std::unique_ptr<reporting::ReportRunner> report_;
    common::GridView* DBGrid1;
    common::GridView* DBGrid2;
    QSplitter* splitter_;
    QComboBox* suiComboBoxRok;
    QPushButton* ButtonDL;
    QPushButton* ButtonFA;
    QPushButton* ButtonVP;
    QLabel* Label1;
    QAction* NovyDoklad;
    QAction* OpravitDoklad;
    QAction* TiskDokladu;
    QAction* GeneraceFaktury;
    QAction* TiskFaktury;
    QMenu* MenuCentrum;
    QAction* KontrolaVerzeSeparator;
    QAction* KontrolaVerze;
};

} // namespace dorvik::app
