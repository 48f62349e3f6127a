#pragma once

#include "common/prompter.h"
#include "reporting/preparedreport.h"
#include "reporting/spreadsheetexport.h"

#include <QDialog>
#include <QPageLayout>
#include <QPrinter>
#include <functional>

class QLabel;
class QLineEdit;
class QScrollArea;
class QSpinBox;

namespace dorvik::reporting {

class PageView;

// The modal preview of a prepared report: print, PDF export, save as PDF, export of the
// report's data to a spreadsheet, zoom, navigation, find and page setup.
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(PreparedReport report, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // How the report is laid out again on other paper; without it page setup chooses only
    // the printer's settings.
    using Relayout = std::function<PreparedReport(const QPageLayout&)>;
    void setRelayout(const QPageLayout& current, Relayout relayout);
    // The data behind the pages; without it the spreadsheet exports are off.
    void setSource(ReportSource source);

    int pageIndex() const { return page_; }
    double zoom() const { return zoom_; }
    const PreparedReport& report() const { return report_; }

    void showPage(int index);
    void setZoom(double zoom);
    void fitWidth();
    void fitPage();
    // Finds the text from after the current hit onwards; returns false when it is nowhere.
    bool findNext(const QString& text);
    // dorvik.pdf in the current directory, replaced without a question, then opened; the
    // status line tells where it is, and a message when no viewer opened it.
    void exportPdf();
    void saveAsPdf();
    void exportXlsx();
    void exportCsv();
    void print();
    void pageSetup();
    // What page setup does once the paper is chosen.
    void applyPageLayout(const QPageLayout& layout);

    // The file the export writes.
    static QString exportFileName();
    // Where the save dialogs start: the documents folder and a name built from the report.
    QString suggestedPath(const QString& extension) const;

private:
    // The save dialog; empty when the user cancelled.
    QString askFileName(const QString& caption, const QString& extension, const QString& filter);
    void updateView();
    void updatePageCount();

    PreparedReport report_;
    QPageLayout pageLayout_;
    Relayout relayout_;
    ReportSource source_;
    QList<QAction*> dataExports_;
    common::MessageBox messages_{QStringLiteral("Náhled tisku")};
    QPrinter printer_;
    int page_ = 0;
    double zoom_ = 1.0;
    int hitPage_ = -1, hitItem_ = -1;
    PageView* view_;
    QScrollArea* scroll_;
    QSpinBox* pageNumber_;
    QLabel* pageCount_;
    QLineEdit* find_;
    QLabel* status_;
};

} // namespace dorvik::reporting
