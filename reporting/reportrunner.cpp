#include "reporting/reportrunner.h"

#include "common/routines.h"
#include "reporting/designerwindow.h"
#include "reporting/engine.h"
#include "reporting/fr3reader.h"
#include "reporting/previewwindow.h"

#include <QFileInfo>

namespace dorvik::reporting {
namespace {

ReportRunner::Designer& designer() {
    static ReportRunner::Designer installed = designReport;
    return installed;
}

void showPreview(const PreparedReport& report, QWidget* parent) {
    PreviewWindow window(report, parent);
    window.exec();
}

} // namespace

bool designerRequested(const QStringList& arguments) { return arguments.size() > 1 && arguments[1] == QLatin1String("/ES"); }

ReportRunner::ReportRunner(QWidget* parent, QStringList arguments)
    : parent_(parent), designMode_(designerRequested(arguments)), preview_(showPreview) {}

void ReportRunner::installDesigner(Designer d) { designer() = std::move(d); }

void ReportRunner::loadTemplate(const QString& relativePath) {
    template_ = Template();
    path_ = common::programFolder() + relativePath;
    if (QFileInfo::exists(path_)) template_ = readTemplate(path_);
}

void ReportRunner::setVariable(const QString& name, const QString& text) { template_.setVariable(name, quotedLiteral(text)); }

PreparedReport ReportRunner::prepare() const { return prepareReport(template_, data_); }

void ReportRunner::show() {
    if (designMode_) {
        if (designer()) designer()(path_, template_, data_, parent_);
        return;
    }
    const PreparedReport prepared = prepare();
    preview_(prepared, parent_);
}

} // namespace dorvik::reporting
