#pragma once

#include <QMainWindow>

namespace dorvik::app {

// The document register: the program's main window.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};

} // namespace dorvik::app
