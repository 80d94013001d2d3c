#pragma once

#include "widgets/chartdata.h"

#include <QWidget>

class QChart;
class QChartView;
class QPainter;
class QStackedWidget;
class QStandardItemModel;
class QTableView;

// A chart as every screen shows one: drawn from ChartData in the application's palette (light or dark), the
// series told apart by line style or bar pattern as well as colour, each point's number in its tooltip, and
// on the context menu Copy, Save Chart… (PNG or PDF) and Show Numbers, which swaps the chart for a table of
// the same numbers (for screen readers and for checking). A left click on the chart is `activated`.
class ChartPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartPanel)

public:
    explicit ChartPanel(QWidget* parent = nullptr);
    ~ChartPanel() override;

    void setData(ChartData data);
    const ChartData& data() const { return m_data; }
    QChart* chart() const { return m_chart; }
    QTableView* table() const { return m_table; }

    bool showsNumbers() const;
    void showNumbers(bool numbers);

    // The chart drawn at the size given (its shown size when none), for copies, files and printed pages.
    QImage image(const QSize& size = {}) const;
    // Draws the chart into the rectangle of a painter (a PDF or printer page) as vectors.
    void render(QPainter& painter, const QRectF& target) const;
    // Writes the chart as a PNG image or a one-page PDF; false when the file cannot be written.
    bool savePng(const QString& path) const;
    bool savePdf(const QString& path) const;
    // Asks for a file and saves the chart in the format its name or the chosen filter says.
    void saveAs();
    void copyToClipboard() const;

    // The texts of a series' colours and pen, for checks: the pen style of series i.
    static Qt::PenStyle penStyle(int series);
    static Qt::BrushStyle barPattern(int series);

signals:
    void activated();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuild();
    void followPalette();
    void fillTable();
    void addLines();
    void addBars();
    QColor seriesColor(int series) const;

    ChartData m_data;
    QStackedWidget* m_pages;
    QChartView* m_view;
    QChart* m_chart;
    QTableView* m_table;
    QStandardItemModel* m_numbers;
};
