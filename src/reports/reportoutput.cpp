#include "reports/reportoutput.h"

#include "data/databaseerror.h"
#include "reports/reporterror.h"
#include "reports/reportpainter.h"
#include "reports/reportviewer.h"
#include "shell/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include <QApplication>

#include <algorithm>
#include <optional>

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The context under which this file's texts are translated.
class ReportOutputText
{
    Q_DECLARE_TR_FUNCTIONS(ReportOutput)
};

void setUpPrinter(QPrinter& printer, const ReportDocument& document)
{
    printer.setDocName(document.title);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(document.pageSize, document.orientation, QMarginsF(0, 0, 0, 0)));
}

// The system's default printer, looked up at each job.
class DefaultPrinter final : public ReportOutput::PrintTarget
{
public:
    bool isAvailable() const override { return !QPrinterInfo::defaultPrinter().isNull(); }
    QString name() const override { return QPrinterInfo::defaultPrinter().printerName(); }
    bool print(const ReportDocument& document) override
    {
        QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        setUpPrinter(printer, document);
        printer.setCopyCount(1);
        return ReportOutput::printTo(document, printer);
    }
};

ReportOutput::PrintTarget* g_printTarget = nullptr;

ReportOutput::PrintTarget& printTarget()
{
    static DefaultPrinter system;
    return g_printTarget != nullptr ? *g_printTarget : system;
}

// The documents as one, for a single PDF file: the first one's title and paper, every page in order.
ReportDocument joined(const std::vector<ReportDocument>& documents)
{
    ReportDocument all = documents.front();
    for (std::size_t i = 1; i < documents.size(); ++i) {
        all.pages.insert(all.pages.end(), documents[i].pages.begin(), documents[i].pages.end());
    }
    return all;
}

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

void setPrintTarget(PrintTarget* target)
{
    g_printTarget = target;
}

void run(MainWindow& window, const std::function<ReportDocument()>& build, bool preview)
{
    std::optional<ReportDocument> made = built(build);
    if (!made) {
        return;
    }
    ReportDocument document = std::move(*made);
    if (document.isEmpty()) {
        // Nothing came of the build (stopped by the user, or nobody to print): nothing to show or print.
        emit window.context().requests().showStatus(ReportOutputText::tr("Nothing to print"));
        return;
    }
    if (preview) {
        ReportOutput::preview(window, std::move(document));
    } else {
        print(&window, document);
    }
}

ReportViewer* preview(MainWindow& window, ReportDocument document)
{
    const bool wasOpen = window.findScreen(ScreenId::ReportViewer) != nullptr;
    auto* viewer = window.openScreen<ReportViewer>(ScreenId::ReportViewer);
    if (viewer == nullptr) {
        return nullptr;
    }
    if (!wasOpen) {
        // A report is read best in a big window: the new viewer fills the main window's work area.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(viewer->parentWidget())) {
            frame->resize(window.mdiArea()->viewport()->size());
        }
    }
    viewer->setDocument(std::move(document));
    viewer->setFocus();
    return viewer;
}

void print(QWidget* parent, const ReportDocument& document)
{
    printAll(parent, {document});
}

void printAll(QWidget* parent, const std::vector<ReportDocument>& documents)
{
    std::vector<ReportDocument> jobs;
    for (const ReportDocument& document : documents) {
        if (!document.isEmpty()) {
            jobs.push_back(document);
        }
    }
    if (jobs.empty()) {
        return;
    }
    PrintTarget& target = printTarget();
    if (!target.isAvailable()) {
        const MessageAnswer answer =
            showMessage(ReportOutputText::tr("No printer is set up on this computer, so \"%1\" cannot be printed.\n\n"
                                             "Do you want to save it as a PDF file instead?")
                            .arg(jobs.front().title),
                        MessageStyle::YesNo, ReportOutputText::tr("Print"));
        if (answer == MessageAnswer::Yes) {
            exportPdf(parent, joined(jobs));
        }
        return;
    }
    for (const ReportDocument& job : jobs) {
        if (!target.print(job)) {
            showMessage(
                ReportOutputText::tr("\"%1\" could not be sent to the printer %2.").arg(job.title, target.name()),
                MessageStyle::Critical, ReportOutputText::tr("Print"));
            return;
        }
    }
}

void printRun(MainWindow& window, const std::function<std::vector<ReportDocument>()>& build)
{
    std::optional<std::vector<ReportDocument>> made = built(build);
    if (!made) {
        return;
    }
    const std::vector<ReportDocument>& documents = *made;
    if (std::all_of(documents.begin(), documents.end(), [](const ReportDocument& d) { return d.isEmpty(); })) {
        emit window.context().requests().showStatus(ReportOutputText::tr("Nothing to print"));
        return;
    }
    printAll(&window, documents);
}

void printWithDialog(QWidget* parent, const ReportDocument& document)
{
    if (document.isEmpty()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, document);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(ReportOutputText::tr("Print %1").arg(document.title));
    dialog.setMinMax(1, document.pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (!printTo(document, printer)) {
        showMessage(ReportOutputText::tr("\"%1\" could not be printed.").arg(document.title), MessageStyle::Critical,
                    ReportOutputText::tr("Print"));
    }
}

bool printTo(const ReportDocument& document, QPrinter& printer)
{
    int first = 0;
    int last = document.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(0, printer.fromPage() - 1);
        last = std::min(last, printer.toPage() - 1);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first) {
            printer.newPage();
        }
        ReportPainter::paintPage(painter, document.pages[std::size_t(page)]);
    }
    return painter.end();
}

QString exportPdf(QWidget* parent, const ReportDocument& document)
{
    const QString suggested = QDir::home().filePath(document.title + QStringLiteral(".pdf"));
    QString fileName = FileDialogs::getSaveFileName(parent, ReportOutputText::tr("Export PDF"),
                                                    ReportOutputText::tr("PDF files (*.pdf)"), suggested);
    if (fileName.isEmpty()) {
        return {};
    }
    if (!fileName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        fileName += QStringLiteral(".pdf");
    }
    try {
        const BusyCursor busy;
        ReportPainter::writePdf(document, fileName);
    } catch (const ReportError& error) {
        showMessage(error.message(), MessageStyle::Critical, ReportOutputText::tr("Export PDF"));
        return {};
    }
    return fileName;
}

} // namespace ReportOutput
