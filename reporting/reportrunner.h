#pragma once

#include "db/resultset.h"
#include "reporting/preparedreport.h"
#include "reporting/spreadsheetexport.h"
#include "reporting/template.h"

#include <QCoreApplication>
#include <QStringList>
#include <functional>

class QWidget;

namespace dorvik::reporting {

// A window's report object: a template loaded from beside the program, the window's result
// set bound as frxDBDataset1, text variables, then the designer (program started with "/ES")
// or the prepared report in the modal preview.
class ReportRunner {
public:
    // The designer gets the template path (to save over), the loaded template with the
    // variables set, and the data.
    using Designer = std::function<void(const QString& path, Template& report, const db::ResultSet& data, QWidget* parent)>;
    // What showing a prepared report means; by default the modal preview window, whose page
    // setup prepares the report again on the chosen paper.
    using Preview = std::function<void(const PreparedReport& report, QWidget* parent)>;

    explicit ReportRunner(QWidget* parent = nullptr, QStringList arguments = QCoreApplication::arguments());

    // What "/ES" opens; by default the designer window. An empty one shows nothing.
    static void installDesigner(Designer designer);

    // Clears the report and loads <program folder>/<relativePath> (e.g. "fr3/vyd1.fr3");
    // a missing file leaves the report empty without a message.
    void loadTemplate(const QString& relativePath);
    void setDataset(const db::ResultSet& data) { data_ = data; }
    // The text becomes a quoted literal; a variable the template lacks is added.
    void setVariable(const QString& name, const QString& text);
    // What suggested export file names call the report when its name and variables do not
    // tell it ("Faktura 6261001"); loading a template clears it.
    void setTitle(const QString& title) { title_ = title; }
    // The template, data and title the preview exports from.
    ReportSource source() const;

    // Designer on "/ES", else prepare (the engine's error propagates, naming the template)
    // and preview.
    void show();
    PreparedReport prepare() const;
    // The same on other paper; the loaded template stays as it is.
    PreparedReport prepare(const QPageLayout& paper) const;

    void setPreview(Preview preview) { preview_ = std::move(preview); }
    bool designMode() const { return designMode_; }
    const Template& report() const { return template_; }
    const QString& templatePath() const { return path_; }

private:
    PreparedReport prepareNamed(const Template& report) const;

    QWidget* parent_;
    bool designMode_;
    QString path_;
    QString title_;
    Template template_;
    db::ResultSet data_;
    Preview preview_;
};

// Whether the arguments ask for the designer: exactly "/ES" as the first one.
bool designerRequested(const QStringList& arguments);

} // namespace dorvik::reporting
