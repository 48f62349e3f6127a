#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;

namespace dorvik::reporting {

// Sizes and positions are pixels at 96 dpi on the whole sheet, margins included.
struct Frame {
    int lines = 0; // bits: left 1, right 2, top 4, bottom 8
    double width = 1;
    QColor color = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
    bool isDouble = false;
};

struct TextStyle {
    QString family;
    double pointSize = 10;
    bool bold = false, italic = false, underline = false, strikeOut = false;
    QColor color = Qt::black;
};

enum class HAlign { Left, Right, Center, Block };
enum class VAlign { Top, Bottom, Center };
enum class ShapeKind { Rectangle, RoundRectangle, Ellipse, Triangle, Diamond };

// One thing drawn on a page. Text arrives broken into lines as it was measured, so every
// device shows the same lines.
struct PreparedItem {
    enum class Kind { Text, Line, Shape, Picture, Barcode };
    Kind kind = Kind::Text;
    QRectF rect;
    QColor fill;      // invalid: none
    Frame frame;
    // Text
    TextStyle style;
    QStringList lines;
    QList<double> lineWidths; // as measured, one per line
    double lineHeight = 0;
    double ascent = 0;
    double gapX = 2, gapY = 1;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool clipped = true;
    // Line: from rect.topLeft() to rect.bottomRight()
    // Shape
    ShapeKind shape = ShapeKind::Rectangle;
    // Picture
    QImage image;
    bool keepAspect = true;
    // Barcode: bars relative to rect, and the text under them
    QList<QRectF> bars;
    QString caption;

    QString plainText() const { return lines.join(QLatin1Char('\n')); }
};

struct PreparedPage {
    QSizeF size;          // px at 96 dpi
    QColor background;    // invalid: white paper
    QList<PreparedItem> items;
};

struct PreparedReport {
    QList<PreparedPage> pages;
    QStringList ignoredHandlers; // scripts and On... events the engine does not run
};

// The font the engine uses for a style: the template's family mapped to an installed,
// metric-compatible one.
QString installedFamily(const QString& templateFamily);
QFont fontFor(const TextStyle& style);

// Paints one page on a painter whose units are 96-dpi pixels.
void paintPage(QPainter& painter, const PreparedPage& page);
// Sets up the painter's scale for the device and paints.
void paintPageOnDevice(QPainter& painter, const PreparedPage& page, double scale = 1.0);

// Writes the pages to a PDF: real text with embedded fonts, page backgrounds, no outline,
// no protection. Replaces an existing file. Raises std::runtime_error when it cannot write.
void writePdf(const PreparedReport& report, const QString& path);
void printReport(const PreparedReport& report, QPrinter& printer);

} // namespace dorvik::reporting
