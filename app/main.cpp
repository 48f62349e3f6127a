#include "app/tform1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    dorvik::app::TForm1 register_;
    register_.show();
    return app.exec();
}
