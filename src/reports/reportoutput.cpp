#include "reports/reportoutput.h"

#include "data/databaseerror.h"
#include "reports/reporterror.h"
#include "reports/reportviewer.h"
#include "services/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/messages.h"
#include "widgets/screenhost.h"

#include <QCoreApplication>
#include <QMdiSubWindow>

#include <algorithm>
#include <optional>

namespace {

// The context under which this file's texts are translated.
class ReportOutputText
{
    Q_DECLARE_TR_FUNCTIONS(ReportOutput)
};

// Runs a report's build under the busy pointer; a build that fails is told to the user and gives nothing.
template <typename Result>
std::optional<Result> built(const std::function<Result()>& build)
{
    try {
        const BusyCursor busy;
        return build();
    } catch (const ReportError& error) {
        showMessage(error.message(), MessageStyle::Critical, ReportOutputText::tr("Report"));
    } catch (const DatabaseError& error) {
        showMessage(ReportOutputText::tr("The report could not be built: %1").arg(error.message()),
                    MessageStyle::Critical, ReportOutputText::tr("Report"));
    }
    return std::nullopt;
}

} // namespace

namespace ReportOutput {

void run(ScreenHost& host, const std::function<ReportDocument()>& build, bool preview)
{
    std::optional<ReportDocument> made = built(build);
    if (!made) {
        return;
    }
    ReportDocument document = std::move(*made);
    if (document.isEmpty()) {
        // Nothing came of the build (stopped by the user, or nobody to print): nothing to show or print.
        emit host.context().requests().showStatus(ReportOutputText::tr("Nothing to print"));
        return;
    }
    if (preview) {
        ReportOutput::preview(host, std::move(document));
    } else {
        print(host.frame(), document);
    }
}

ReportViewer* preview(ScreenHost& host, ReportDocument document)
{
    const bool wasOpen = host.findScreen(ScreenId::ReportViewer) != nullptr;
    auto* viewer = host.openScreen<ReportViewer>(ScreenId::ReportViewer);
    if (viewer == nullptr) {
        return nullptr;
    }
    if (!wasOpen) {
        // A report is read best in a big window: the new viewer fills the main window's work area.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(viewer->parentWidget())) {
            frame->resize(host.screenRoom());
        }
    }
    viewer->setDocument(std::move(document));
    viewer->setFocus();
    return viewer;
}

void printRun(ScreenHost& host, const std::function<std::vector<ReportDocument>()>& build)
{
    std::optional<std::vector<ReportDocument>> made = built(build);
    if (!made) {
        return;
    }
    const std::vector<ReportDocument>& documents = *made;
    if (std::all_of(documents.begin(), documents.end(), [](const ReportDocument& d) { return d.isEmpty(); })) {
        emit host.context().requests().showStatus(ReportOutputText::tr("Nothing to print"));
        return;
    }
    printAll(host.frame(), documents);
}

} // namespace ReportOutput
