#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

namespace dorvik::reporting {

struct Attribute {
    QString name;
    QString value;
};

// One element of a template as it stands in the file: its class name, its attributes in
// file order and its children. Unknown elements and attributes stay here untouched, so a
// template written back loses nothing; readers ask for values with the format's defaults.
struct Node {
    QString tag;
    QList<Attribute> attributes;
    QList<Node> children;

    bool has(const QString& name) const;
    QString text(const QString& name, const QString& fallback = {}) const;
    // Numbers may carry a decimal comma ("22,67718").
    double number(const QString& name, double fallback = 0) const;
    bool boolean(const QString& name, bool fallback) const;
    void set(const QString& name, const QString& value);
    void remove(const QString& name);
};

struct DatasetRef {
    QString dataSet;
    QString dataSetName;
};

struct Variable {
    QString name;
    QString value; // an expression of the engine
};

// A loaded template. The root is the TfrxReport element with its pages, bands and objects;
// the report's datasets and variables are lifted out of it (child elements or PropData).
struct Template {
    Node root;
    QList<DatasetRef> datasets;
    QList<Variable> variables;
    bool oldFormat = false;        // attributes other than Text were cp1250 bytes
    bool dataInPropData = false;   // datasets and variables came in the root's PropData blob
    QByteArray propDataRest;       // the blob's other properties, written back as they came
    int propDataIndex = -1;        // where PropData stood among the root's attributes

    bool isEmpty() const { return root.children.isEmpty(); }
    // Sets a variable, adding it when the template does not declare it.
    void setVariable(const QString& name, const QString& expression);
    const Variable* variable(const QString& name) const;
    // The paper of the first page: size, orientation and margins.
    QPageLayout pageLayout() const;
    // Puts every page on the given paper.
    void setPageLayout(const QPageLayout& layout);
};

// A report page's sheet in 96-dpi pixels, turned as its orientation says, and its margins.
QSizeF sheetSize(const Node& page);
QMarginsF sheetMargins(const Node& page);

// A picture object's graphic, kept in Picture.PropData: a Delphi class name, then the
// graphic file (a TBitmap's with its size before it).
QImage pictureOf(const Node& object);
// The PropData of an image file's bytes: BMP, JPEG or PNG; empty for anything else.
QString picturePropData(const QByteArray& file);

// A text as the engine's string literal: in single quotes, inner quotes doubled.
QString quotedLiteral(const QString& text);

} // namespace dorvik::reporting
