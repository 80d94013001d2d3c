#include "app/features.h"
#include "data/database.h"
#include "fakeclock.h"
#include "guitest.h"
#include "reports/reportdata.h"
#include "reports/reportdesign.h"
#include "reports/reporterror.h"
#include "reports/reportoutput.h"
#include "reports/reportrenderer.h"
#include "reports/reportviewer.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A report of the given names, one line each, with a heading and page numbers on every page.
ReportDocument namesReport(const QString& title, int count)
{
    const ReportDesign design = ReportDesign::fromJson("crptTest", QString(R"({"title": "%1",
            "page": {"size": "Letter", "margins": {"left": 36, "top": 36, "right": 36, "bottom": 36}},
            "fields": ["Name"],
            "pageHeader": {"height": 20, "items": [{"type": "text", "x": 0, "y": 0, "width": 540, "height": 12,
                           "value": "{@church} {@title} Page {@page} of {@pages}"}]},
            "detail": {"height": 14, "items": [{"type": "text", "x": 0, "y": 0, "width": 300, "height": 14,
                       "value": "{Name}"}]}})")
                                                                       .arg(title)
                                                                       .toUtf8());
    auto columns = std::make_shared<const ColumnIndex>(QStringList{"Name"});
    ReportData data;
    data.heading = {"Grace Chapel", QDate(2026, 3, 15)};
    for (int i = 0; i < count; ++i) {
        data.rows.emplace_back(columns, QVector<QVariant>{QString("Person %1").arg(i + 1, 3, 10, QChar('0'))});
    }
    return ReportRenderer::render(design, data);
}

QString pdfText(const QString& file)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", file, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestReportViewer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void previewOpensOneViewerAndALaterReportReplacesIt();
    void pagingButtonsAndKeys();
    void zoomAndFitToWidth();
    void exportPdfWritesTheFileChosen();
    void exportPdfToAnUnwritablePlaceIsReported();
    void printingWithoutPrinterOffersAPdf();
    void printingPaintsThePagesChosen();
    void reportThatCannotBeBuiltIsReported();
    void memberNavigatorPrintButtonsOpenTheirReports_data();
    void memberNavigatorPrintButtonsOpenTheirReports();

private:
    ReportViewer* viewer() { return m_window->findScreen<ReportViewer>(ScreenId::ReportViewer); }
    template <typename T>
    T* control(const char* name)
    {
        return GuiTest::find<T>(viewer(), QString::fromUtf8(name));
    }
    void click(const char* name) { GuiTest::click(control<QPushButton>(name)); }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_dir;
};

void TestReportViewer::init()
{
    MessageLog::startRecording();
    FileDialogs::clearNextFileNames();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(m_context->db());
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "admin"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->resize(1000, 800);
    m_window->show();
}

void TestReportViewer::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
    FileDialogs::clearNextFileNames();
}

void TestReportViewer::previewOpensOneViewerAndALaterReportReplacesIt()
{
    ReportViewer* first = ReportOutput::preview(*m_window, namesReport("Member List", 120));
    QVERIFY(first);
    QCOMPARE(viewer(), first);
    QCOMPARE(first->windowTitle(), QString("Report Viewer"));
    QCOMPARE(first->document().title, QString("Member List"));
    QVERIFY(first->document().pageCount() > 1);
    QCOMPARE(control<QLabel>("lblPageCount")->text(), QString("of %1").arg(first->document().pageCount()));
    QVERIFY(!control<QLabel>("lblPageView")->pixmap().isNull());
    click("btnNext");
    QCOMPARE(first->currentPage(), 1);

    ReportViewer* second = ReportOutput::preview(*m_window, namesReport("Mailing Labels", 3));
    QCOMPARE(second, first);
    QCOMPARE(second->document().title, QString("Mailing Labels"));
    QCOMPARE(second->currentPage(), 0);
    QCOMPARE(control<QLabel>("lblPageCount")->text(), QString("of 1"));
    int viewers = 0;
    for (QMdiSubWindow* window : m_window->mdiArea()->subWindowList()) {
        viewers += qobject_cast<ReportViewer*>(window->widget()) != nullptr ? 1 : 0;
    }
    QCOMPARE(viewers, 1);
}

void TestReportViewer::pagingButtonsAndKeys()
{
    ReportViewer* v = ReportOutput::preview(*m_window, namesReport("Member List", 150));
    const int pages = v->document().pageCount();
    QVERIFY(pages >= 3);
    QVERIFY(!control<QPushButton>("btnFirst")->isEnabled());
    QVERIFY(!control<QPushButton>("btnPrevious")->isEnabled());
    click("btnNext");
    QCOMPARE(v->currentPage(), 1);
    QCOMPARE(control<QSpinBox>("txtPage")->value(), 2);
    click("btnLast");
    QCOMPARE(v->currentPage(), pages - 1);
    QVERIFY(!control<QPushButton>("btnNext")->isEnabled());
    QVERIFY(!control<QPushButton>("btnLast")->isEnabled());
    click("btnPrevious");
    QCOMPARE(v->currentPage(), pages - 2);
    click("btnFirst");
    QCOMPARE(v->currentPage(), 0);
    control<QSpinBox>("txtPage")->setValue(3);
    QCOMPARE(v->currentPage(), 2);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    control<QScrollArea>("CRViewer")->setFocus();
    QTest::keyClick(control<QScrollArea>("CRViewer"), Qt::Key_PageUp);
    QCOMPARE(v->currentPage(), 1);
}

void TestReportViewer::zoomAndFitToWidth()
{
    ReportViewer* v = ReportOutput::preview(*m_window, namesReport("Member List", 10));
    QLabel* page = control<QLabel>("lblPageView");
    QComboBox* zoom = control<QComboBox>("cmbZoom");
    GuiTest::choose(zoom, "200%");
    QCOMPARE(v->zoom(), 2.0);
    const double dpi = v->logicalDpiX();
    QVERIFY(std::abs(page->pixmap().deviceIndependentSize().width() - 8.5 * dpi * 2) <= 2);
    v->zoomOut();
    QCOMPARE(v->zoom(), 1.5);

    click("btnFitWidth");
    QCOMPARE(zoom->currentIndex(), 0);
    const int room = control<QScrollArea>("CRViewer")->viewport()->width();
    const double width = page->pixmap().deviceIndependentSize().width();
    QVERIFY2(width <= room && width >= room - 60, qPrintable(QString("%1 in %2").arg(width).arg(room)));
    // Fit-to-width follows the size of the viewer's window.
    v->parentWidget()->resize(500, 500);
    QVERIFY(page->pixmap().deviceIndependentSize().width() < width);
}

void TestReportViewer::exportPdfWritesTheFileChosen()
{
    const ReportDocument document = namesReport("Member List", 120);
    QVERIFY(document.pageCount() > 1);
    ReportOutput::preview(*m_window, document);
    const QString file = m_dir.filePath("weekly list");
    FileDialogs::setNextFileName(file);
    click("btnExportPdf");
    QCOMPARE(FileDialogs::takeAsked(), QStringList{"Export PDF"});
    QVERIFY(QFile::exists(file + ".pdf"));
    const QString text = pdfText(file + ".pdf");
    QVERIFY2(text.contains("Person 001") && text.contains("Person 120"), qPrintable(text.left(300)));
    QVERIFY(MessageLog::takeShown().isEmpty());
    // The status bar says what was written, without a box to click away.
    QCOMPARE(m_window->statusBar()->currentMessage(),
             QString("Wrote weekly list.pdf (%1 pages)").arg(document.pageCount()));
}

void TestReportViewer::exportPdfToAnUnwritablePlaceIsReported()
{
    ReportOutput::preview(*m_window, namesReport("Member List", 3));
    FileDialogs::setNextFileName(m_dir.filePath("missing-folder/list.pdf"));
    click("btnExportPdf");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, QString("Export PDF"));
    QCOMPARE(shown[0].style, MessageStyle::Critical);
    QVERIFY(shown[0].text.contains("missing-folder/list.pdf cannot be written"));
}

void TestReportViewer::printingWithoutPrinterOffersAPdf()
{
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QSKIP("this computer has a default printer");
    }
    const QString file = m_dir.filePath("labels.pdf");
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    FileDialogs::setNextFileName(file);
    ReportOutput::run(
        *m_window, [] { return namesReport("Mailing Labels", 5); }, false);
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].style, MessageStyle::YesNo);
    QVERIFY(shown[0].text.startsWith("No printer is set up on this computer"));
    QVERIFY(pdfText(file).contains("Person 005"));
    QVERIFY(!viewer());

    // Answering No saves nothing.
    MessageLog::setNextAnswer(MessageAnswer::No);
    FileDialogs::setNextFileName(m_dir.filePath("not-wanted.pdf"));
    ReportOutput::run(
        *m_window, [] { return namesReport("Mailing Labels", 5); }, false);
    QCOMPARE(MessageLog::takeShown().size(), 1);
    QVERIFY(!QFile::exists(m_dir.filePath("not-wanted.pdf")));
}

void TestReportViewer::printingPaintsThePagesChosen()
{
    const ReportDocument doc = namesReport("Member List", 150);
    QVERIFY(doc.pageCount() >= 3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath("all.pdf"));
    QVERIFY(ReportOutput::printTo(doc, printer));
    QString text = pdfText(m_dir.filePath("all.pdf"));
    QCOMPARE(text.count('\f'), doc.pageCount());
    QVERIFY(text.contains("Person 150"));

    QPrinter second(QPrinter::HighResolution);
    second.setOutputFormat(QPrinter::PdfFormat);
    second.setOutputFileName(m_dir.filePath("page2.pdf"));
    second.setPrintRange(QPrinter::PageRange);
    second.setFromTo(2, 2);
    QVERIFY(ReportOutput::printTo(doc, second));
    text = pdfText(m_dir.filePath("page2.pdf"));
    QCOMPARE(text.count('\f'), 1);
    QVERIFY(text.contains(QString("Page 2 of %1").arg(doc.pageCount())));
    QVERIFY(!text.contains("Person 001"));
}

void TestReportViewer::reportThatCannotBeBuiltIsReported()
{
    ReportOutput::run(
        *m_window, [] { return ReportRenderer::render(ReportDesign::load("crptMissing"), ReportData{}); }, true);
    ReportOutput::run(
        *m_window, []() -> ReportDocument { throw ReportError("The report design crptX cannot be used: bad."); }, true);
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, QString("The report design crptMissing was not found."));
    QCOMPARE(shown[0].title, QString("Report"));
    QCOMPARE(shown[0].style, MessageStyle::Critical);
    QCOMPARE(shown[1].text, QString("The report design crptX cannot be used: bad."));
    QVERIFY(!viewer());
}

void TestReportViewer::memberNavigatorPrintButtonsOpenTheirReports_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::newRow("Print List") << "btnPrintList"
                                << "Member List";
    QTest::newRow("Print DOB/Anniv") << "btnPrintListDOBAnniv"
                                     << "Birthdays and Anniversaries";
    QTest::newRow("Print Mail Lbl") << "btnPrintMailingLabels"
                                    << "Mailing Labels";
}

void TestReportViewer::memberNavigatorPrintButtonsOpenTheirReports()
{
    QFETCH(QString, button);
    QFETCH(QString, title);
    m_context->db().execute("UPDATE Member SET Date_Of_Birth = '1970-05-01'");
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->runCommand("MemberNavigator");
    QWidget* navigator = m_window->findScreen(ScreenId::MemberNavigator);
    QVERIFY(navigator);
    GuiTest::click(GuiTest::find<QPushButton>(navigator, "btnFind"));
    GuiTest::click(GuiTest::find<QPushButton>(navigator, button));
    QVERIFY(viewer());
    QCOMPARE(viewer()->document().title, title);
    const QString texts = viewer()->document().pages[0].texts().join('\n');
    QVERIFY2(texts.contains("Grace Chapel"), qPrintable(texts));
    QVERIFY(texts.contains("Sanders") && texts.contains("O'Brien") && texts.contains(QString::fromUtf8("Ölander")));
    QVERIFY(MessageLog::takeShown().isEmpty());
    // The viewer comes to the front and takes the keyboard.
    QApplication::processEvents();
    QCOMPARE(m_window->mdiArea()->activeSubWindow()->widget(), viewer());
    QVERIFY(viewer()->isAncestorOf(QApplication::focusWidget()));
}

QTEST_MAIN(TestReportViewer)
#include "tst_reportviewer.moc"
