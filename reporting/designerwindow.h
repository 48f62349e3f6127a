#pragma once

#include "db/resultset.h"
#include "reporting/designermodel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QScrollArea;
class QSpinBox;
class QPushButton;
class QToolButton;

namespace dorvik::reporting {

class DesignView;

// The modal report designer on one template: the page to scale with its bands and objects,
// mouse and keyboard editing on a grid, a property panel, the bound dataset's fields and the
// run's variables to drop in, a preview with the bound data, and saving over the file.
class DesignerWindow : public QDialog {
    Q_OBJECT
public:
    DesignerWindow(Template report, QString path, db::ResultSet data, QWidget* parent = nullptr);
    ~DesignerWindow() override;

    DesignerModel& model() { return model_; }
    int page() const { return page_; }
    double zoom() const { return zoom_; }
    void setZoom(double zoom);

    // Every change goes through here so the canvas, the panel and the actions follow.
    void changed();

    // Handlers, named after their controls.
    void UlozitClick();
    void NahledClick();
    void ZpetClick();
    void ZnovuClick();
    void KopirovatClick();
    void VyjmoutClick();
    void VlozitClick();
    void SmazatClick();
    void SeznamPoliDoubleClick(QListWidgetItem* item);
    void SeznamPromennychDoubleClick(QListWidgetItem* item);
    void NacistObrazekClick();
    // Puts an image file into the selected picture; false (and a message) when it is no BMP,
    // JPEG or PNG.
    bool loadPicture(const QString& path);

    void reject() override;

private:
    void buildPanel(QWidget* panel);
    void fillPanel();
    void insert(ObjectKind kind);
    void insertText(const QString& text);
    // Saves, discards or stays: false when the window must stay open.
    bool confirmClose();

    DesignerModel model_;
    db::ResultSet data_;
    int page_ = 0;
    double zoom_ = 1.0;
    bool filling_ = false;
    DesignView* view_;
    QScrollArea* scroll_;
    QLabel* kind_;
    QFormLayout* form_;
    QLineEdit* name_;
    QDoubleSpinBox *left_, *top_, *width_, *height_;
    QPlainTextEdit* text_;
    QComboBox* dataField_;
    QFontComboBox* font_;
    QSpinBox* fontSize_;
    QCheckBox *bold_, *italic_, *underline_;
    QToolButton* fontColor_;
    QComboBox *hAlign_, *vAlign_, *stretch_;
    QCheckBox* wordWrap_;
    QCheckBox* frameLines_[4];
    QDoubleSpinBox* frameWidth_;
    QToolButton* frameColor_;
    QComboBox* frameStyle_;
    QToolButton* fill_;
    QPushButton* picture_;
    QComboBox* formatKind_;
    QLineEdit* format_;
    QComboBox* barType_;
    QComboBox* dataset_;
    QLineEdit* condition_;
    QCheckBox *newPage_, *firstPage_, *lastPage_, *keepTogether_, *reprint_;
    QListWidget* fields_;
    QListWidget* variables_;
    QList<QAction*> selectionActions_;
    QList<QAction*> bandActions_; // band up, band down
    QAction *undo_, *redo_;
};

// The runner's designer: the window on the loaded template, modally; the template as the
// user left it goes back to the runner.
void designReport(const QString& path, Template& report, const db::ResultSet& data, QWidget* parent);

} // namespace dorvik::reporting
