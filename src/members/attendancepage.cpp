#include "members/attendancepage.h"

#include "attendance/attendancestore.h"
#include "attendance/monthlayout.h"
#include "core/textformat.h"
#include "members/memberscreenstate.h"
#include "services/appcontext.h"
#include "widgets/chartpanel.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"

#include <QBrush>
#include <QColor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

AttendancePage::AttendancePage(AppContext& context, MemberScreenState& state, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_calendarMonth(context.clock().today())
{
    setObjectName(QStringLiteral("pageAttendanceInfo"));
    m_previous = new QPushButton(QStringLiteral("<<"), this);
    m_previous->setObjectName(QStringLiteral("btnPrevMonth"));
    m_month = label(this, {}, QStringLiteral("lblDate"));
    m_month->setAlignment(Qt::AlignCenter);
    m_month->setMinimumWidth(m_month->fontMetrics().horizontalAdvance(QStringLiteral("September 2000")) + 12);
    m_next = new QPushButton(QStringLiteral(">>"), this);
    m_next->setObjectName(QStringLiteral("btnNextMonth"));
    auto* monthRow = new QHBoxLayout;
    monthRow->addStretch();
    monthRow->addWidget(m_previous);
    monthRow->addWidget(m_month);
    monthRow->addWidget(m_next);
    monthRow->addStretch();

    const QStringList days = {tr("S"), tr("M"), tr("T"), tr("W"), tr("T"), tr("F"), tr("S")};
    // cal to cal4 above, cal5 to cal7 below, each under its caption and over its 52-week line.
    auto* calendars = new QGridLayout;
    for (int i = 0; i < AttendanceWeek::kCategoryCount; ++i) {
        const QString name = i == 0 ? QStringLiteral("cal") : QStringLiteral("cal%1").arg(i + 1);
        QTableView* calendar = grid(this, name);
        auto* model = new QStandardItemModel(0, 7, calendar);
        model->setHorizontalHeaderLabels(days);
        calendar->setModel(model);
        calendar->setSelectionMode(QAbstractItemView::NoSelection);
        calendar->setFocusPolicy(Qt::NoFocus);
        calendar->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        calendar->horizontalHeader()->setMinimumSectionSize(18);
        calendar->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        calendar->setMinimumSize(7 * 24, 7 * (fontMetrics().height() + 2));
        calendar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        calendar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_calendars << calendar;
        m_models << model;
        QLabel* year = label(this, {}, QStringLiteral("lblYear%1").arg(i + 1));
        m_yearLines << year;
        const int row = (i / 4) * 3;
        const int column = i % 4;
        calendars->addWidget(label(this, AttendanceWeek::category(i).calendarLabel), row, column);
        calendars->addWidget(calendar, row + 1, column);
        calendars->addWidget(year, row + 2, column);
    }

    m_chart = new ChartPanel(this);
    m_chart->setObjectName(QStringLiteral("chartYear"));
    m_chart->setMinimumSize(220, 160);
    calendars->addWidget(m_chart, 3, 3, 3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(monthRow);
    layout->addLayout(calendars, 1);

    const QString read = tr("Read the person's attendance");
    Guard::connect(m_previous, &QPushButton::clicked, this, read, [this] { moveMonth(-1); });
    Guard::connect(m_next, &QPushButton::clicked, this, read, [this] { moveMonth(1); });
    Guard::connect(&state, &MemberScreenState::memberShown, this, read,
                   [this](qint64 memberId) { showMember(memberId); });
    // An emptied screen shows the month without anybody's marks.
    Guard::connect(&state, &MemberScreenState::memberCleared, this, read, [this] { showMember(std::nullopt); });
    redraw();
}

void AttendancePage::showMember(std::optional<qint64> memberId)
{
    m_memberId = memberId;
    redraw();
}

void AttendancePage::moveMonth(int months)
{
    // addMonths fits the day: 31 January forward is the last day of February.
    m_calendarMonth = m_calendarMonth.addMonths(months);
    redraw();
}

void AttendancePage::redraw()
{
    const MonthLayout layout(m_calendarMonth);
    m_month->setText(QLocale().toString(m_calendarMonth, QStringLiteral("MMMM yyyy")));
    std::vector<AttendanceWeekMarks> weeks;
    AttendanceYearFigures figures;
    AttendanceYearLine line;
    if (m_memberId) {
        AttendanceStore store(m_context.db());
        weeks = store.monthMarks(*m_memberId, m_calendarMonth);
        figures = store.yearFigures(*m_memberId, m_calendarMonth);
        line = store.yearLine(*m_memberId, m_calendarMonth);
    }
    ChartData chart;
    chart.title = tr("The 52 weeks to %1, counted up").arg(shortDate(figures.lastWeek));
    for (const QDate& week : line.weeks) {
        chart.labels << shortDate(week);
    }
    for (int c = 0; c < AttendanceWeek::kCategoryCount && m_memberId; ++c) {
        if (m_context.config().showsAttendanceColumn(c)) {
            ChartSeries series{AttendanceWeek::category(c).longName, {}};
            for (const std::optional<int>& count : line.running.at(size_t(c))) {
                series.values.push_back(count ? std::optional<double>(*count) : std::nullopt);
            }
            chart.series.push_back(std::move(series));
        }
    }
    m_chart->setData(std::move(chart));
    const QBrush yellow(QColor(255, 255, 0));
    for (int c = 0; c < AttendanceWeek::kCategoryCount; ++c) {
        QStandardItemModel* model = m_models.at(c);
        model->setRowCount(0);
        model->setRowCount(layout.weekRows());
        for (int day = 1; day <= layout.days(); ++day) {
            auto* item = new QStandardItem(QString::number(day));
            item->setTextAlignment(Qt::AlignCenter);
            item->setEditable(false);
            model->setItem(layout.rowOf(day), layout.columnOf(day), item);
        }
        for (const AttendanceWeekMarks& week : weeks) {
            if (week.marks.at(size_t(c))) {
                const int day = week.week.day();
                model->item(layout.rowOf(day), layout.columnOf(day))->setBackground(yellow);
            }
        }
        m_yearLines.at(c)->setText(m_memberId ? figures.text(c) : QString());
    }
}
