#include "reporting/reportrunner.h"

#include "common/routines.h"
#include "reporting/designerwindow.h"
#include "reporting/engine.h"
#include "reporting/expression.h"
#include "reporting/fr3reader.h"
#include "reporting/previewwindow.h"

#include <QFileInfo>

namespace dorvik::reporting {
namespace {

ReportRunner::Designer& designer() {
    static ReportRunner::Designer installed = designReport;
    return installed;
}

} // namespace

bool designerRequested(const QStringList& arguments) { return arguments.size() > 1 && arguments[1] == QLatin1String("/ES"); }

ReportRunner::ReportRunner(QWidget* parent, QStringList arguments)
    : parent_(parent), designMode_(designerRequested(arguments)) {}

void ReportRunner::installDesigner(Designer d) { designer() = std::move(d); }

void ReportRunner::loadTemplate(const QString& relativePath) {
    template_ = Template();
    title_.clear();
    path_ = common::programFolder() + relativePath;
    if (QFileInfo::exists(path_)) template_ = readTemplate(path_);
}

void ReportRunner::setVariable(const QString& name, const QString& text) { template_.setVariable(name, quotedLiteral(text)); }

ReportSource ReportRunner::source() const { return {template_, data_, title_.isEmpty() ? reportTitle(template_) : title_}; }

PreparedReport ReportRunner::prepare() const { return prepareNamed(template_); }

PreparedReport ReportRunner::prepare(const QPageLayout& paper) const {
    Template onPaper = template_;
    onPaper.setPageLayout(paper);
    return prepareNamed(onPaper);
}

PreparedReport ReportRunner::prepareNamed(const Template& report) const {
    try {
        return prepareReport(report, data_);
    } catch (const ExpressionError& e) {
        // Whoever mends it needs to know which of the shipped or edited templates to open.
        throw ExpressionError(
            QStringLiteral("Šablona %1: %2").arg(QFileInfo(path_).fileName(), QString::fromUtf8(e.what())).toStdString());
    }
}

void ReportRunner::show() {
    if (designMode_) {
        if (designer()) designer()(path_, template_, data_, parent_);
        return;
    }
    const PreparedReport prepared = prepare();
    if (preview_) {
        preview_(prepared, parent_);
        return;
    }
    PreviewWindow window(prepared, parent_);
    window.setSource(source());
    window.setRelayout(template_.pageLayout(), [this](const QPageLayout& paper) { return prepare(paper); });
    window.exec();
}

} // namespace dorvik::reporting
