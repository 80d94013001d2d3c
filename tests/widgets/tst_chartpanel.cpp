#include "widgets/chartpanel.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

namespace {

// Three weeks of two categories, the second week not recorded.
ChartData weeks()
{
    ChartData data;
    data.title = "Attendance";
    data.labels = {"Mar 1", "Mar 8", "Mar 15"};
    data.series = {{"Sunday School", {120, std::nullopt, 130}}, {"Worship Service", {200, std::nullopt, 210}}};
    return data;
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(235, 235, 235));
    dark.setColor(QPalette::Mid, QColor(90, 90, 90));
    return dark;
}

QAction* action(ChartPanel& panel, const QString& name)
{
    return panel.findChild<QAction*>(name);
}

} // namespace

// Every chart of the program: its numbers in tooltips and a table, series told apart without colour, its
// copies and files, and the application's palette, dark ones included.
class TestChartPanel : public QObject
{
    Q_OBJECT

private slots:
    void init() { MessageLog::startRecording(); }
    void cleanup()
    {
        MessageLog::stopRecording();
        QApplication::setPalette(QPalette());
    }

    void aGapEndsTheLineAndIsNotAZero();
    void tableHoldsTheSameNumbers();
    void seriesDifferInPenOrPatternNotOnlyColour();
    void pointTextsNameSeriesLabelAndValue();
    void followsADarkPalette();
    void savesPngAndPdf_data();
    void savesPngAndPdf();
    void copyPutsTheChartOnTheClipboard();
};

void TestChartPanel::aGapEndsTheLineAndIsNotAZero()
{
    ChartPanel panel;
    panel.setData(weeks());
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    // Two pieces per series, each holding only recorded points; the legend names each series once.
    QList<QLineSeries*> pieces;
    for (QAbstractSeries* series : panel.chart()->series()) {
        pieces << qobject_cast<QLineSeries*>(series);
    }
    QCOMPARE(pieces.size(), 4);
    for (QLineSeries* piece : pieces) {
        QCOMPARE(piece->count(), 1);
        QVERIFY(piece->at(0).y() > 0);
    }
    int named = 0;
    for (QLegendMarker* marker : panel.chart()->legend()->markers()) {
        named += marker->isVisible() ? 1 : 0;
    }
    QCOMPARE(named, 2);
}

void TestChartPanel::tableHoldsTheSameNumbers()
{
    ChartPanel panel;
    panel.setData(weeks());
    QVERIFY(!panel.showsNumbers());
    action(panel, "actShowNumbers")->trigger();
    QVERIFY(panel.showsNumbers());
    const QAbstractItemModel* model = panel.table()->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), "Worship Service");
    QCOMPARE(model->headerData(2, Qt::Vertical).toString(), "Mar 15");
    QCOMPARE(model->index(2, 1).data().toString(), "210");
    QCOMPARE(model->index(1, 0).data().toString(), "not recorded");
    action(panel, "actShowNumbers")->trigger();
    QVERIFY(!panel.showsNumbers());
}

void TestChartPanel::seriesDifferInPenOrPatternNotOnlyColour()
{
    ChartPanel lines;
    lines.setData(weeks());
    QList<QLineSeries*> pieces;
    for (QAbstractSeries* series : lines.chart()->series()) {
        pieces << qobject_cast<QLineSeries*>(series);
    }
    QCOMPARE(pieces.at(0)->pen().style(), pieces.at(1)->pen().style()); // pieces of one series alike
    QVERIFY(pieces.at(0)->pen().style() != pieces.at(2)->pen().style());

    ChartData data = weeks();
    data.kind = ChartData::Kind::Bars;
    ChartPanel bars;
    bars.setData(data);
    const auto* series = qobject_cast<QBarSeries*>(bars.chart()->series().at(0));
    QVERIFY(series->barSets().at(0)->brush().style() != series->barSets().at(1)->brush().style());
}

void TestChartPanel::pointTextsNameSeriesLabelAndValue()
{
    ChartData data = weeks();
    QCOMPARE(data.pointText(1, 2), "Worship Service, Mar 15: 210");
    QCOMPARE(data.pointText(0, 1), "Sunday School, Mar 8: not recorded");
    data.format = [](double v) { return QString("$%1").arg(v, 0, 'f', 2); };
    QCOMPARE(data.pointText(0, 0), "Sunday School, Mar 1: $120.00");
}

void TestChartPanel::followsADarkPalette()
{
    QApplication::setPalette(darkPalette());
    ChartPanel panel;
    panel.setData(weeks());
    const QPalette dark = darkPalette();
    QCOMPARE(panel.chart()->backgroundBrush().color(), dark.color(QPalette::Base));
    QCOMPARE(panel.chart()->titleBrush().color(), dark.color(QPalette::WindowText));
    QCOMPARE(panel.chart()->legend()->labelColor(), dark.color(QPalette::WindowText));
    for (QAbstractAxis* axis : panel.chart()->axes()) {
        QCOMPARE(axis->labelsBrush().color(), dark.color(QPalette::WindowText));
    }
    // Lines stand out from the dark background.
    const auto* line = qobject_cast<QLineSeries*>(panel.chart()->series().at(0));
    QVERIFY(line->pen().color().lightness() > 128);

    // Given a light palette: the chart follows.
    QPalette light;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::WindowText, Qt::black);
    panel.setPalette(light);
    QCOMPARE(panel.chart()->backgroundBrush().color(), panel.palette().color(QPalette::Base));
    QVERIFY(qobject_cast<QLineSeries*>(panel.chart()->series().at(0))->pen().color().lightness() < 128);
}

void TestChartPanel::savesPngAndPdf_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("png by its ending") << "chart.png"
                                       << ""
                                       << "chart.png";
    QTest::newRow("pdf by its ending") << "chart.pdf"
                                       << ""
                                       << "chart.pdf";
    QTest::newRow("pdf by the filter") << "chart"
                                       << "PDF document (*.pdf)"
                                       << "chart.pdf";
}

void TestChartPanel::savesPngAndPdf()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QTemporaryDir dir;
    ChartPanel panel;
    panel.resize(600, 400);
    panel.setData(weeks());
    FileDialogs::setNextFileName(dir.filePath(typed), filter);
    action(panel, "actSaveChart")->trigger();
    const QString path = dir.filePath(written);
    QVERIFY(QFile::exists(path));
    if (written.endsWith(".png")) {
        const QImage image(path);
        QCOMPARE(image.size(), QSize(600, 400));
        return;
    }
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QProcess text;
    text.start("pdftotext", {path, "-"});
    QVERIFY(text.waitForFinished());
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(words.contains("Attendance") && words.contains("Worship Service"), qPrintable(words));
}

void TestChartPanel::copyPutsTheChartOnTheClipboard()
{
    ChartPanel panel;
    panel.resize(400, 300);
    panel.setData(weeks());
    action(panel, "actCopyChart")->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(400, 300));
}

QTEST_MAIN(TestChartPanel)
#include "tst_chartpanel.moc"
