#include "app/tform1.h"
#include "common/startupsettings.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dorvik"));
    dorvik::app::TForm1 register_(dorvik::common::startupSettingsPath());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        register_.move(screen->availableGeometry().center() - register_.rect().center());
    register_.show();
    return app.exec();
}
