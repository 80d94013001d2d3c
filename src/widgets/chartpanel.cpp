#include "widgets/chartpanel.h"

#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHeaderView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(ChartPanel)
};

constexpr Qt::PenStyle kPenStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
constexpr Qt::BrushStyle kPatterns[] = {Qt::SolidPattern, Qt::BDiagPattern,     Qt::Dense4Pattern, Qt::CrossPattern,
                                        Qt::FDiagPattern, Qt::DiagCrossPattern, Qt::Dense2Pattern};
// Hues far apart, in the order series take them.
constexpr int kHues[] = {215, 25, 130, 350, 275, 55, 185};

// The most labels the bottom axis of a line chart writes; the table holds every one.
constexpr int kLineAxisLabels = 6;

bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Base).lightness() < 128;
}

} // namespace

QString ChartData::valueText(double value) const
{
    return format ? format(value) : QString::number(value, 'f', value == qRound(value) ? 0 : 1);
}

QString ChartData::pointText(int seriesIndex, int point) const
{
    const ChartSeries& s = series.at(size_t(seriesIndex));
    const std::optional<double> value = s.values.at(size_t(point));
    return Text::tr("%1, %2: %3")
        .arg(s.name, labels.value(point), value ? valueText(*value) : Text::tr("not recorded"));
}

ChartPanel::ChartPanel(QWidget* parent)
    : QWidget(parent)
    , m_pages(new QStackedWidget(this))
    , m_view(new QChartView(this))
    , m_chart(new QChart)
    , m_table(new QTableView(this))
    , m_numbers(new QStandardItemModel(this))
{
    m_view->setObjectName(QStringLiteral("chartView"));
    m_table->setObjectName(QStringLiteral("chartNumbers"));
    m_view->setChart(m_chart);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->viewport()->installEventFilter(this);
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_table->setModel(m_numbers);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pages->addWidget(m_view);
    m_pages->addWidget(m_table);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);

    auto* copy = new QAction(Text::tr("&Copy Chart"), this);
    copy->setObjectName(QStringLiteral("actCopyChart"));
    connect(copy, &QAction::triggered, this, &ChartPanel::copyToClipboard);
    auto* save = new QAction(Text::tr("&Save Chart…"), this);
    save->setObjectName(QStringLiteral("actSaveChart"));
    connect(save, &QAction::triggered, this, &ChartPanel::saveAs);
    auto* numbers = new QAction(Text::tr("Show &Numbers"), this);
    numbers->setObjectName(QStringLiteral("actShowNumbers"));
    numbers->setCheckable(true);
    connect(numbers, &QAction::toggled, this, &ChartPanel::showNumbers);
    for (QWidget* view : {static_cast<QWidget*>(m_view), static_cast<QWidget*>(m_table)}) {
        view->addActions({copy, save, numbers});
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    followPalette();
}

ChartPanel::~ChartPanel() = default;

void ChartPanel::setData(ChartData data)
{
    m_data = std::move(data);
    m_view->setAccessibleName(m_data.title);
    m_table->setAccessibleName(m_data.title);
    rebuild();
}

bool ChartPanel::showsNumbers() const
{
    return m_pages->currentWidget() == m_table;
}

void ChartPanel::showNumbers(bool numbers)
{
    m_pages->setCurrentWidget(numbers ? static_cast<QWidget*>(m_table) : m_view);
    if (auto* action = findChild<QAction*>(QStringLiteral("actShowNumbers")); action->isChecked() != numbers) {
        action->setChecked(numbers);
    }
}

Qt::PenStyle ChartPanel::penStyle(int series)
{
    return kPenStyles[size_t(series) % std::size(kPenStyles)];
}

Qt::BrushStyle ChartPanel::barPattern(int series)
{
    return kPatterns[size_t(series) % std::size(kPatterns)];
}

QColor ChartPanel::seriesColor(int series) const
{
    // Lighter colours on a dark background, deeper ones on a light one.
    return QColor::fromHsl(kHues[size_t(series) % std::size(kHues)], 170, isDark(palette()) ? 175 : 95);
}

void ChartPanel::rebuild()
{
    m_chart->removeAllSeries();
    for (QAbstractAxis* axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    m_chart->setTitle(m_data.title);
    if (m_data.kind == ChartData::Kind::Bars) {
        addBars();
    } else {
        addLines();
    }
    fillTable();
    followPalette();
}

void ChartPanel::addLines()
{
    const int points = int(m_data.labels.size());
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int step = std::max(1, (points + kLineAxisLabels - 1) / kLineAxisLabels);
    for (int i = 0; i < points; i += step) {
        x->append(m_data.labels.at(i), i);
    }
    x->setRange(0, std::max(0, points - 1));
    auto* y = new QValueAxis;
    m_chart->addAxis(x, Qt::AlignBottom);
    m_chart->addAxis(y, Qt::AlignLeft);
    double top = 0;
    for (int s = 0; s < int(m_data.series.size()); ++s) {
        const ChartSeries& data = m_data.series[size_t(s)];
        QPen pen(seriesColor(s), 2, penStyle(s));
        // A gap ends a line: each run of recorded points is its own piece, named in the legend once.
        QLineSeries* piece = nullptr;
        bool first = true;
        for (int i = 0; i < points; ++i) {
            const std::optional<double> value = i < int(data.values.size()) ? data.values[size_t(i)] : std::nullopt;
            if (!value) {
                piece = nullptr;
                continue;
            }
            top = std::max(top, *value);
            if (!piece) {
                piece = new QLineSeries;
                piece->setName(data.name);
                piece->setPen(pen);
                piece->setPointsVisible(true);
                piece->setMarkerSize(4);
                m_chart->addSeries(piece);
                piece->attachAxis(x);
                piece->attachAxis(y);
                for (QLegendMarker* marker : m_chart->legend()->markers(piece)) {
                    marker->setVisible(first);
                }
                first = false;
                connect(piece, &QLineSeries::hovered, this, [this, s](const QPointF& point, bool entered) {
                    if (entered) {
                        QToolTip::showText(QCursor::pos(), m_data.pointText(s, qRound(point.x())), m_view);
                    }
                });
            }
            piece->append(i, *value);
        }
        if (first) {
            // A series with no recorded point still has its place in the legend.
            auto* empty = new QLineSeries;
            empty->setName(data.name);
            empty->setPen(pen);
            m_chart->addSeries(empty);
            empty->attachAxis(x);
            empty->attachAxis(y);
        }
    }
    y->setRange(0, top > 0 ? top * 1.1 : 1);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%.0f"));
}

void ChartPanel::addBars()
{
    auto* bars = new QBarSeries;
    double top = 0;
    for (int s = 0; s < int(m_data.series.size()); ++s) {
        const ChartSeries& data = m_data.series[size_t(s)];
        auto* set = new QBarSet(data.name);
        for (int i = 0; i < int(m_data.labels.size()); ++i) {
            const std::optional<double> value = i < int(data.values.size()) ? data.values[size_t(i)] : std::nullopt;
            set->append(value.value_or(0));
            top = std::max(top, value.value_or(0));
        }
        connect(set, &QBarSet::hovered, this, [this, s](bool entered, int index) {
            if (entered) {
                QToolTip::showText(QCursor::pos(), m_data.pointText(s, index), m_view);
            }
        });
        bars->append(set);
    }
    m_chart->addSeries(bars);
    auto* x = new QBarCategoryAxis;
    x->append(m_data.labels);
    auto* y = new QValueAxis;
    m_chart->addAxis(x, Qt::AlignBottom);
    m_chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    y->setRange(0, top > 0 ? top * 1.1 : 1);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%.0f"));
}

void ChartPanel::fillTable()
{
    m_numbers->clear();
    QStringList headers;
    for (const ChartSeries& series : m_data.series) {
        headers << series.name;
    }
    m_numbers->setHorizontalHeaderLabels(headers);
    m_numbers->setVerticalHeaderLabels(m_data.labels);
    for (int s = 0; s < int(m_data.series.size()); ++s) {
        const ChartSeries& series = m_data.series[size_t(s)];
        for (int i = 0; i < int(m_data.labels.size()); ++i) {
            const std::optional<double> value = i < int(series.values.size()) ? series.values[size_t(i)] : std::nullopt;
            auto* item = new QStandardItem(value ? m_data.valueText(*value) : Text::tr("not recorded"));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_numbers->setItem(i, s, item);
        }
    }
}

void ChartPanel::followPalette()
{
    const QPalette p = palette();
    const QColor text = p.color(QPalette::WindowText);
    const QColor grid = p.color(QPalette::Mid);
    m_chart->setBackgroundBrush(p.color(QPalette::Base));
    m_chart->setBackgroundPen(QPen(grid));
    m_chart->setTitleBrush(text);
    m_chart->legend()->setLabelColor(text);
    m_view->setBackgroundBrush(p.color(QPalette::Window));
    for (QAbstractAxis* axis : m_chart->axes()) {
        axis->setLabelsColor(text);
        axis->setLinePenColor(grid);
        axis->setGridLineColor(grid);
        axis->setTitleBrush(text);
    }
    for (QAbstractSeries* series : m_chart->series()) {
        if (auto* bars = qobject_cast<QBarSeries*>(series)) {
            for (int s = 0; s < int(bars->barSets().size()); ++s) {
                QBarSet* set = bars->barSets().at(s);
                set->setBrush(QBrush(seriesColor(s), barPattern(s)));
                set->setPen(QPen(seriesColor(s), 1));
                set->setLabelColor(text);
            }
        }
    }
    int s = -1;
    QString lastName;
    for (QAbstractSeries* series : m_chart->series()) {
        if (auto* line = qobject_cast<QLineSeries*>(series)) {
            // Pieces of one series follow each other and share its name.
            if (s < 0 || line->name() != lastName) {
                ++s;
                lastName = line->name();
            }
            line->setPen(QPen(seriesColor(s), 2, penStyle(s)));
        }
    }
}

void ChartPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        followPalette();
    }
}

bool ChartPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit activated();
    }
    return QWidget::eventFilter(watched, event);
}

QImage ChartPanel::image(const QSize& size) const
{
    const QSize target = size.isValid() ? size : (this->size().isEmpty() ? QSize(640, 400) : this->size());
    QImage picture(target, QImage::Format_ARGB32);
    picture.fill(palette().color(QPalette::Base));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    render(painter, QRectF(QPointF(0, 0), QSizeF(target)));
    return picture;
}

void ChartPanel::render(QPainter& painter, const QRectF& target) const
{
    // The chart is laid out at the target's size for the drawing, then given back the size it is shown at.
    QGraphicsScene* scene = m_view->scene();
    const QSizeF shownSize = m_chart->size();
    const QRectF shownScene = scene->sceneRect();
    const auto layOut = [this, scene](const QSizeF& size) {
        m_chart->resize(size);
        if (m_chart->layout()) {
            m_chart->layout()->activate();
        }
        scene->setSceneRect(QRectF(QPointF(0, 0), size));
    };
    layOut(target.size());
    scene->render(&painter, target, QRectF(QPointF(0, 0), target.size()));
    layOut(shownSize);
    scene->setSceneRect(shownScene);
}

bool ChartPanel::savePng(const QString& path) const
{
    return image().save(path, "PNG");
}

bool ChartPanel::savePdf(const QString& path) const
{
    QPdfWriter writer(path);
    writer.setTitle(m_data.title);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setResolution(96);
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
    render(painter, QRectF(QPointF(0, 0), QSizeF(page.size())));
    return painter.end();
}

void ChartPanel::saveAs()
{
    const QString pngFilter = Text::tr("PNG image (*.png)");
    const QString pdfFilter = Text::tr("PDF document (*.pdf)");
    QString chosenFilter;
    QString path = FileDialogs::getSaveFileName(this, Text::tr("Save Chart"),
                                                pngFilter + QStringLiteral(";;") + pdfFilter, {}, &chosenFilter);
    if (path.isEmpty()) {
        return;
    }
    // A typed ".png" or ".pdf" decides the format; any other name gets the chosen filter's ending.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool pdf = suffix == u"pdf" || (suffix != u"png" && chosenFilter == pdfFilter);
    if (suffix != u"png" && suffix != u"pdf") {
        path += pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    }
    if (!(pdf ? savePdf(path) : savePng(path))) {
        showMessage(Text::tr("The file %1 could not be written.").arg(QDir::toNativeSeparators(path)),
                    MessageStyle::Warning, Text::tr("Save Chart"));
        return;
    }
    showStatus(this, Text::tr("Saved the chart to %1").arg(QDir::toNativeSeparators(path)));
}

void ChartPanel::copyToClipboard() const
{
    QApplication::clipboard()->setImage(image());
}
