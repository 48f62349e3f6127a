#pragma once

#include "reporting/template.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

namespace dorvik::reporting {

// One band or one object of a band: indices into the template's element tree.
struct ObjectRef {
    int page = -1;   // index among the root's children
    int band = -1;   // index among the page's children
    int object = -1; // index among the band's children; -1: the band itself

    bool isBand() const { return object < 0; }
    ObjectRef bandRef() const { return {page, band, -1}; }
    bool operator==(const ObjectRef&) const = default;
};

struct BandKind {
    QString tag;
    QString caption;
};

// The bands the engine knows, in the order a report prints them.
const QList<BandKind>& bandKinds();
QString bandCaption(const QString& tag);
bool isBand(const QString& tag);

enum class ObjectKind { Memo, Line, Rectangle, Picture, Barcode };

// The designer's edits on a template, without widgets. Every edit is one undo step, and
// geometry is in 96-dpi pixels on the whole sheet (margins included).
class DesignerModel {
public:
    DesignerModel(Template report, QString path);

    const Template& report() const { return report_; }
    const QString& path() const { return path_; }
    bool modified() const { return modified_; }

    QList<int> pages() const;
    QSizeF pageSize(int page) const;
    QRectF contentRect(int page) const;
    const Node& node(const ObjectRef& ref) const;
    QRectF rect(const ObjectRef& ref) const;
    // The bands of a page, and the objects of a band, in file order.
    QList<ObjectRef> bands(int page) const;
    QList<ObjectRef> objects(const ObjectRef& band) const;
    // The topmost object under the point, else the band, else none.
    std::optional<ObjectRef> hit(int page, QPointF at) const;

    const QList<ObjectRef>& selection() const { return selection_; }
    void select(QList<ObjectRef> refs);
    // The band new objects go to: the selected band, the band of the first selected
    // object, else the first data band, else the first band.
    std::optional<ObjectRef> targetBand(int page) const;

    double grid() const { return grid_; }
    bool snap() const { return snap_; }
    void setSnap(bool on) { snap_ = on; }
    double snapped(double v) const;

    // Moves or resizes the selected objects (bands only change height).
    void moveSelection(double dx, double dy);
    void resizeSelection(double dw, double dh);
    // After a drag: a selected object whose top edge left its band for another band moves
    // into that one, keeping its place on the sheet (part of the drag's undo step).
    void settleSelection();
    // Rectangles on the sheet for the given objects; a drag gives newStep only at its start.
    void setRects(const QList<QPair<ObjectRef, QRectF>>& rects, bool newStep);
    // Sets an attribute on every selected element; the default value removes it (the
    // format leaves defaults out). Repeated edits of the same attribute merge into one step.
    void setAttribute(const QString& name, const QString& value, const QString& defaultValue = {});
    void setAttributes(const QList<Attribute>& values, const QStringList& removed = {});

    ObjectRef insertObject(ObjectKind kind, const ObjectRef& band, QPointF at);
    // A memo showing the text, e.g. [frxDBDataset1."FIELD"].
    ObjectRef insertMemo(const ObjectRef& band, QPointF at, const QString& text);
    ObjectRef addBand(int page, const QString& tag);
    // Swaps a band with its neighbour above (-1) or below (+1), as the bands lie on the page;
    // the gap between them stays. False when there is no neighbour that way.
    bool moveBand(const ObjectRef& band, int direction);
    void deleteSelection();
    // The selected objects as a template fragment, and a paste of one into the target band.
    QByteArray copySelection() const;
    void paste(const QByteArray& fragment, int page);

    bool canUndo() const { return !undo_.isEmpty(); }
    bool canRedo() const { return !redo_.isEmpty(); }
    void undo();
    void redo();

    // Writes the template over its file (a new file when there was none).
    void save();

private:
    Node& nodeRef(const ObjectRef& ref);
    QPointF bandOrigin(const ObjectRef& band) const;
    void step(const QString& mergeKey = {});
    QString uniqueName(const QString& prefix) const;
    void shiftBandsBelow(const ObjectRef& band, double oldBottom, double delta);

    struct State {
        Template report;
        QList<ObjectRef> selection;
    };
    Template report_;
    QString path_;
    bool modified_ = false;
    QList<ObjectRef> selection_;
    QList<State> undo_, redo_;
    QString lastMerge_;
    double grid_ = 4;
    bool snap_ = true;
};

} // namespace dorvik::reporting
