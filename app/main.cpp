#include "app/tform1.h"
#include "common/screenfit.h"
#include "common/startupsettings.h"
#include "issue/tfvydej.h"
#include "masterdata/tfadre.h"
#include "masterdata/tfzakarty.h"
#include "masterdata/tfzakazky.h"
#include "pickers/tfnabadres.h"
#include "pickers/tfnabzakaz.h"
#include "pickers/tfnabzbozi.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

using namespace dorvik;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dorvik"));
    // Qt's own dialogs (print, page setup, files) speak Czech like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    common::keepWindowsOnScreen();
    app::TForm1 register_(common::startupSettingsPath());
    // The shared pickers live, hidden, for the whole run.
    pickers::TFnabzakaz orders(register_.connection());
    pickers::TFnabzbozi goods(register_.connection());
    pickers::TFnabadres addresses(register_.connection());
    register_.editorOpener = [&](const app::EditorRequest& r) {
        issue::TFvydej editor(register_.context(), r.documentMode, r.documentNumber, r.internal, r.terminalEnabled,
                              issue::EditorPickers{goods, addresses, orders}, &register_);
        editor.exec();
        return editor.documentNumber();
    };
    register_.masterDataOpener = [&](app::MasterDataWindow which) {
        db::Connection& db = register_.connection();
        const QString& workstation = register_.settings().workstation;
        switch (which) {
        case app::MasterDataWindow::Addresses: masterdata::TFadre(db, workstation, &register_).exec(); break;
        case app::MasterDataWindow::Orders: masterdata::TFzakazky(db, workstation, addresses, &register_).exec(); break;
        case app::MasterDataWindow::Cards: masterdata::TFzakarty(db, workstation, addresses, &register_).exec(); break;
        }
    };
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        register_.move(screen->availableGeometry().center() - register_.rect().center());
    register_.show();
    return app.exec();
}
