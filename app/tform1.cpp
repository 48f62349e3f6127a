#include "app/tform1.h"

namespace dorvik::app {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Dorvik"));
    resize(952, 625);
}

} // namespace dorvik::app
