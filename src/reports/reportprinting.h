#pragma once

#include "reports/pagemodel.h"

#include <QString>

#include <vector>

class QPrinter;
class QWidget;

// Where a built report is printed or saved: the default printer, the system print dialog, a PDF file.
// Failures become messages here. The viewer and the report runs both print through these.
namespace ReportOutput {

// The printer that print() and printAll() send their jobs to: the system's default printer, or what a test
// puts in its place to see the jobs that would be printed.
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;
    // False when no printer is set up.
    virtual bool isAvailable() const = 0;
    virtual QString name() const = 0;
    // Prints the document as one job; false when the printer could not be started.
    virtual bool print(const ReportDocument& document) = 0;
};

// Sends the jobs to this target from now on (not owned); nullptr returns to the default printer.
void setPrintTarget(PrintTarget* target);

// Sends the report to the default printer, one copy, without a dialog. When no printer is set up the user
// is told so and may save the report as a PDF file instead.
void print(QWidget* parent, const ReportDocument& document);

// Prints a run of reports, each as its own job, in the order given; empty ones are left out. When no printer is
// set up the user is asked once for the whole run, which may go into one PDF file instead.
void printAll(QWidget* parent, const std::vector<ReportDocument>& documents);

// The system print dialog for the report (printer, pages, copies), then printing as chosen.
void printWithDialog(QWidget* parent, const ReportDocument& document);

// Paints the report onto a set-up printer: every page, or the range chosen in the print dialog.
// False when the printer could not be started.
bool printTo(const ReportDocument& document, QPrinter& printer);

// Asks for a file name (PDF) and writes the report there; a failure is shown. The file written, or an empty
// text when none was.
QString exportPdf(QWidget* parent, const ReportDocument& document);

} // namespace ReportOutput
