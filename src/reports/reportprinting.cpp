#include "reports/reportprinting.h"

#include "reports/reporterror.h"
#include "reports/reportpainter.h"
#include "widgets/busycursor.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

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

} // namespace

namespace ReportOutput {

void setPrintTarget(PrintTarget* target)
{
    g_printTarget = target;
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
