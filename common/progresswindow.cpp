#include "common/progresswindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace dorvik::common {

ProgressWindow::ProgressWindow(const QString& text)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), label_(new QLabel(text)) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    auto* bar = new QProgressBar;
    bar->setRange(0, 0); // a range of 0..0 makes the bar move by itself
    bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar);
    setStyleSheet(QStringLiteral("ProgressWindow { border: 1px solid palette(dark); }"));
    resize(320, 90);
}

void ProgressWindow::setText(const QString& text) {
    label_->setText(text);
    QCoreApplication::processEvents();
}

QString ProgressWindow::text() const {
    return label_->text();
}

void ProgressWindow::showNow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    QCoreApplication::processEvents();
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

} // namespace dorvik::common
