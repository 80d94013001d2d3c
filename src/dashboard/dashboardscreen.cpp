#include "dashboard/dashboardscreen.h"

#include "core/money.h"
#include "core/screenid.h"
#include "core/textformat.h"
#include "dashboard/dashboardtile.h"
#include "services/appcontext.h"
#include "services/permissions.h"
#include "widgets/busycursor.h"
#include "widgets/chartpanel.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/permissioncheck.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QVBoxLayout>

namespace {

QString settingsKey(const QString& userName)
{
    return QStringLiteral("Dashboard/showAfterLogin/") + userName.toLower();
}

QString count(int n)
{
    return QLocale().toString(n);
}

// "+4%" or "-12%" of now against then; nothing when then is zero.
QString change(double now, double then)
{
    if (then <= 0) {
        return {};
    }
    const int percent = qRound(100.0 * (now - then) / then);
    return (percent > 0 ? QStringLiteral("+") : QString()) + QString::number(percent) + u'%';
}

QString cell(const QString& text, bool header = false)
{
    const QString tag = header ? QStringLiteral("th") : QStringLiteral("td");
    return QStringLiteral("<%1 style=\"padding-right:10px\">%2</%1>").arg(tag, text.toHtmlEscaped());
}

} // namespace

DashboardScreen::DashboardScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(screenName(ScreenId::Dashboard));
    setWindowTitle(tr("Dashboard"));
    buildControls();
    refresh();
}

DashboardScreen::~DashboardScreen() = default;

bool DashboardScreen::showsAfterLogin(const QString& userName)
{
    return QSettings().value(settingsKey(userName), false).toBool();
}

void DashboardScreen::setShowsAfterLogin(const QString& userName, bool show)
{
    QSettings().setValue(settingsKey(userName), show);
}

void DashboardScreen::buildControls()
{
    m_attendance = new DashboardTile(QStringLiteral("tileAttendance"), tr("&Attendance"), this);
    m_roll = new DashboardTile(QStringLiteral("tileRoll"), tr("The &Roll"), this);
    m_giving = new DashboardTile(QStringLiteral("tileGiving"), tr("&Giving"), this);
    m_care = new DashboardTile(QStringLiteral("tileCare"), tr("People to &Care For"), this);

    m_absent = Controls::button(m_care, QStringLiteral("btnAbsent"), QString());
    m_due = Controls::button(m_care, QStringLiteral("btnProspectsDue"), QString());
    m_occasions = Controls::button(m_care, QStringLiteral("btnOccasions"), QString());
    for (QPushButton* button : {m_absent, m_due, m_occasions}) {
        button->setFlat(true);
        button->setStyleSheet(QStringLiteral("text-align: left"));
        m_care->body()->addWidget(button);
    }
    m_care->body()->addStretch();

    m_afterLogin = Controls::checkBox(this, QStringLiteral("chkShowAfterLogin"), tr("&Show the dashboard after login"));
    m_afterLogin->setChecked(showsAfterLogin(m_context.user().userName));
    QPushButton* refreshButton = Controls::button(this, QStringLiteral("btnRefresh"), tr("R&efresh"));
    QPushButton* exitButton = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));

    // The tiles scroll inside the screen on a small desktop, keeping the buttons below in sight.
    auto* board = new QWidget(this);
    auto* tiles = new QGridLayout(board);
    tiles->setContentsMargins(0, 0, 0, 0);
    tiles->addWidget(m_attendance, 0, 0);
    tiles->addWidget(m_roll, 0, 1);
    tiles->addWidget(m_giving, 1, 0);
    tiles->addWidget(m_care, 1, 1);
    tiles->setColumnStretch(0, 1);
    tiles->setColumnStretch(1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_afterLogin);
    bottom->addStretch();
    bottom->addWidget(refreshButton);
    bottom->addWidget(exitButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Controls::scrollingArea(this, board), 1);
    layout->addLayout(bottom);

    connect(m_afterLogin, &QCheckBox::toggled, this,
            [this](bool show) { setShowsAfterLogin(m_context.user().userName, show); });
    Guard::connect(refreshButton, &QPushButton::clicked, this, tr("Refresh"), [this] { refresh(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { window()->close(); });

    ScreenRequests& requests = m_context.requests();
    connect(m_attendance, &DashboardTile::opened, this, [this, &requests] {
        if (m_attendanceFigures && checkPermission(m_context, Permission::AttendanceEntryEdit, Refusal::Screen)) {
            emit requests.showAttendanceWeek(m_attendanceFigures->lastSunday);
        }
    });
    Guard::connect(m_roll, &DashboardTile::opened, this, tr("The Roll"), [this, &requests] {
        if (checkPermission(m_context, {Permission::MemberView, Permission::MemberEntryEdit}, Refusal::Screen)) {
            emit requests.showPeople(tr("Members"), DashboardStore(m_context.db()).memberIds());
        }
    });
    connect(m_giving, &DashboardTile::opened, this, [this, &requests] {
        if (checkPermission(m_context, Permission::MemberContributions, Refusal::Screen)) {
            const QDate today = m_context.clock().today();
            emit requests.showGivingPeriod(QDate(today.year(), 1, 1), today);
        }
    });
    connect(m_care, &DashboardTile::opened, m_absent, &QPushButton::click);
    connect(m_absent, &QPushButton::clicked, this, [this, &requests] {
        if (m_careFigures) {
            emit requests.showPeople(tr("Absent the last 4 Sundays"), m_careFigures->absentMembers);
        }
    });
    connect(m_due, &QPushButton::clicked, this, [this, &requests] {
        if (m_careFigures) {
            emit requests.findProspectsDue(m_careFigures->weekStart, m_careFigures->weekEnd);
        }
    });
    connect(m_occasions, &QPushButton::clicked, this, [this, &requests] {
        if (m_careFigures) {
            QList<qint64> ids;
            for (const Occasion& occasion : m_careFigures->occasions) {
                if (!ids.contains(occasion.memberId)) {
                    ids << occasion.memberId;
                }
            }
            emit requests.showPeople(tr("Birthdays and anniversaries this week"), ids);
        }
    });
}

QList<int> DashboardScreen::shownCategories() const
{
    QList<int> shown;
    for (int c = 0; c < AttendanceWeek::kCategoryCount; ++c) {
        if (m_context.config().showsAttendanceColumn(c)) {
            shown << c;
        }
    }
    return shown;
}

void DashboardScreen::refresh()
{
    BusyCursor busy;
    Database& db = m_context.db();
    DashboardStore store(db);
    const QDate today = m_context.clock().today();
    m_showsGiving = Permissions::has(db, m_context.user(), Permission::MemberContributions);
    m_attendanceFigures = store.attendance(today, shownCategories());
    showAttendance(*m_attendanceFigures);
    showRoll(store.roll(today));
    // Without the permission the giving tile is not there at all, rather than empty.
    m_giving->setVisible(m_showsGiving);
    if (m_showsGiving) {
        showGiving(store.giving(today));
    }
    m_careFigures = store.care(today);
    showCare(*m_careFigures);
}

void DashboardScreen::showAttendance(const AttendanceTileFigures& f)
{
    const int main = f.categories.contains(AttendanceWeek::WS) || f.categories.isEmpty() ? int(AttendanceWeek::WS)
                                                                                         : f.categories.first();
    const QString category = AttendanceWeek::category(main).longName;
    if (f.last) {
        m_attendance->setNumber(count(f.last->at(size_t(main))),
                                tr("at %1 on Sunday %2").arg(category, shortDate(f.lastSunday)));
    } else {
        m_attendance->setNumber(tr("—"), tr("Sunday %1 is not recorded yet").arg(shortDate(f.lastSunday)));
    }
    const auto value = [](const std::optional<AttendanceCounts>& week, int c) {
        return week ? count(week->at(size_t(c))) : tr("not recorded");
    };
    QString table =
        QStringLiteral("<table><tr>") + cell(QString(), true) +
        cell(tr("Sunday %1").arg(shortDate(f.lastSunday)), true) + cell(tr("Average of the 12 before"), true) +
        cell(tr("Same Sunday last year (%1)").arg(shortDate(f.sameSundayLastYear)), true) + QStringLiteral("</tr>");
    for (const int c : f.categories) {
        const QString average =
            f.previousAverage ? QLocale().toString(f.previousAverage->at(size_t(c)), 'f', 1) : tr("not recorded");
        table += QStringLiteral("<tr>") + cell(AttendanceWeek::category(c).longName) + cell(value(f.last, c)) +
                 cell(average) + cell(value(f.lastYear, c)) + QStringLiteral("</tr>");
    }
    m_attendance->setNote(table + QStringLiteral("</table>"));

    ChartData chart;
    chart.title = tr("Attendance, the last 52 Sundays");
    for (const QDate& week : f.weeks) {
        chart.labels << shortDate(week);
    }
    for (const int c : f.categories) {
        ChartSeries series{AttendanceWeek::category(c).longName, {}};
        for (const std::optional<AttendanceCounts>& week : f.weekCounts) {
            series.values.push_back(week ? std::optional<double>(week->at(size_t(c))) : std::nullopt);
        }
        chart.series.push_back(std::move(series));
    }
    m_attendance->chart()->setData(std::move(chart));
}

void DashboardScreen::showRoll(const RollTileFigures& f)
{
    m_roll->setNumber(count(f.members), tr("members"));
    QString note = tr("Children of members: %1 · Prospects: %2 · Former members: %3")
                       .arg(count(f.children), count(f.prospects), count(f.formerMembers));
    note += QStringLiteral("<br>") + tr("Members on %1: %2 (%3 now)")
                                         .arg(shortDate(f.yearAgo), count(f.membersYearAgo),
                                              change(f.members, f.membersYearAgo).isEmpty()
                                                  ? count(f.members)
                                                  : change(f.members, f.membersYearAgo));
    note += QStringLiteral("<br><small>") +
            tr("Counted from the roll's own dates: joined on Member Since (else Date Added), left on Letter Out or "
               "Deceased Date. Kelvane keeps no history of statuses; a former member without a leaving date is not "
               "counted a year ago.")
                .toHtmlEscaped() +
            QStringLiteral("</small>");
    m_roll->setNote(note);
    ChartData chart;
    chart.title = tr("Members joined and left per month");
    chart.kind = ChartData::Kind::Bars;
    ChartSeries joined{tr("Joined"), {}};
    ChartSeries left{tr("Left"), {}};
    for (size_t i = 0; i < f.months.size(); ++i) {
        chart.labels << shortMonth(f.months[i]);
        joined.values.push_back(f.joined[i]);
        left.values.push_back(f.left[i]);
    }
    chart.series = {joined, left};
    m_roll->chart()->setData(std::move(chart));
}

void DashboardScreen::showGiving(const GivingTileFigures& f)
{
    m_giving->setNumber(formatAmount(f.toDate), tr("given in %1 to %2").arg(f.year).arg(shortDate(f.today)));
    QString note = tr("Last year to %1: %2 %3")
                       .arg(shortDate(f.lastYearToday), formatAmount(f.lastYearToDate),
                            change(double(f.toDate), double(f.lastYearToDate)));
    QString table = QStringLiteral("<table><tr>") + cell(tr("Designation"), true) + cell(tr("This year"), true) +
                    cell(tr("Last year to date"), true) + QStringLiteral("</tr>");
    for (const DesignationGiving& d : f.designations) {
        table += QStringLiteral("<tr>") + cell(d.designation.isEmpty() ? tr("(none)") : d.designation) +
                 cell(formatAmount(d.toDate)) + cell(formatAmount(d.lastYearToDate)) + QStringLiteral("</tr>");
    }
    m_giving->setNote(note.toHtmlEscaped() + table + QStringLiteral("</table>"));
    ChartData chart;
    chart.title = tr("Giving per month, %1 against %2").arg(f.year).arg(f.year - 1);
    chart.kind = ChartData::Kind::Bars;
    chart.format = [](double dollars) { return formatAmount(qRound64(dollars * 100)); };
    ChartSeries thisYear{QString::number(f.year), {}};
    ChartSeries lastYear{QString::number(f.year - 1), {}};
    for (int m = 1; m <= 12; ++m) {
        chart.labels << QLocale().monthName(m, QLocale::ShortFormat);
        lastYear.values.push_back(double(f.lastYear[size_t(m - 1)]) / 100.0);
        thisYear.values.push_back(
            m <= f.today.month() ? std::optional<double>(double(f.thisYear[size_t(m - 1)]) / 100.0) : std::nullopt);
    }
    chart.series = {lastYear, thisYear};
    m_giving->chart()->setData(std::move(chart));
}

void DashboardScreen::showCare(const CareTileFigures& f)
{
    m_care->setNumber(count(int(f.absentMembers.size())),
                      tr("members absent the last 4 Sundays who came at least 6 of the 12 before"));
    m_absent->setText(tr("Absent &members: %1").arg(count(int(f.absentMembers.size()))));
    m_due->setText(tr("Prospects &due %1 to %2: %3")
                       .arg(shortDate(f.weekStart), shortDate(f.weekEnd), count(int(f.prospectsDue.size()))));
    m_occasions->setText(tr("&Birthdays and anniversaries of the coming week: %1").arg(count(int(f.occasions.size()))));
    QStringList lines;
    for (const Occasion& occasion : f.occasions) {
        const QString what = occasion.kind == Occasion::Birthday ? tr("birthday") : tr("anniversary");
        lines << QStringLiteral("%1 · %2 · %3").arg(shortDate(occasion.date), occasion.name, what).toHtmlEscaped();
        if (lines.size() == 8) {
            lines << tr("and %n more", nullptr, int(f.occasions.size()) - 8).toHtmlEscaped();
            break;
        }
    }
    m_care->setNote(lines.join(QStringLiteral("<br>")));
}
