#include "reports/contributionreportscreen.h"

#include "contributions/contributionstore.h"
#include "reports/contributionreports.h"
#include "reports/reportheading.h"
#include "reports/reportoutput.h"
#include "services/appcontext.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/peoplelist.h"
#include "widgets/screenhelpers.h"
#include "widgets/screenhost.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "***All***" stands before the people under an ID no person has.
constexpr qint64 kEverybody = 0;

} // namespace

ContributionReportScreen::ContributionReportScreen(ScreenHost& host, Report report)
    : QWidget(host.frame())
    , m_host(host)
    , m_report(report)
{
    AppContext& context = host.context();
    setWindowTitle(report == Report::EntryControl ? tr("Contributions Entry Control Report")
                                                  : tr("Member Contributions Report"));
    m_start = Controls::datePicker(this, QStringLiteral("dtStartDate"));
    m_end = Controls::datePicker(this, QStringLiteral("dtEndDate"));
    m_start->setDate(context.clock().today());
    m_end->setDate(context.clock().today());
    auto* dates = new QHBoxLayout;
    dates->addWidget(m_start);
    dates->addWidget(Controls::label(this, tr("to")));
    dates->addWidget(m_end);
    auto* form = new QFormLayout;
    if (report == Report::MemberContributions) {
        m_member = Controls::pickList(this, QStringLiteral("cmbMember"));
        PeopleList::attach(m_member, context.people(), {{{kEverybody, tr("***All***")}}, false, false});
        m_member->setCurrentIndex(0);
        attachTypeAhead(m_member, context);
        form->addRow(Controls::label(this, tr("Name")), m_member);
        // The years with gifts, newest first; none is chosen, so the dates start on today.
        m_year = Controls::pickList(this, QStringLiteral("cmbYear"));
        for (const int year : ContributionStore(context.db(), context.clock()).contributionYears()) {
            m_year->addItem(QString::number(year), year);
        }
        m_year->setCurrentIndex(-1);
        form->addRow(Controls::label(this, tr("Year")), m_year);
        Guard::connect(m_year, &QComboBox::activated, this, tr("Year"), [this] { yearChosen(); });
    }
    form->addRow(Controls::label(this, tr("Date")), dates);

    auto* ok = Controls::button(this, QStringLiteral("btnOK"), tr("&Ok"));
    auto* cancel = Controls::button(this, QStringLiteral("btnCancel"), tr("&Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(Controls::buttonRow({ok, cancel}));
    setMinimumWidth(440);

    Guard::connect(ok, &QPushButton::clicked, this, windowTitle(), [this] { run(); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void ContributionReportScreen::setPeriod(const QDate& from, const QDate& to)
{
    m_start->setDate(from);
    m_end->setDate(to);
}

void ContributionReportScreen::yearChosen()
{
    const ReportPeriod year = ContributionReports::yearPeriod(m_year->currentData().toInt());
    m_start->setDate(year.start);
    m_end->setDate(year.end);
}

void ContributionReportScreen::run()
{
    if (!Controls::acceptEntries(this)) {
        return;
    }
    const QDate start = m_start->date();
    const QDate end = m_end->date();
    if (const QString error = ContributionReports::periodError(start, end); !error.isEmpty()) {
        showMessage(error, MessageStyle::Plain, ContributionReports::invalidSelectionTitle());
        return;
    }
    const std::optional<qint64> member =
        m_member != nullptr ? PairedList::selectedIdUnlessBlank(m_member) : std::nullopt;
    AppContext& context = m_host.context();
    ReportOutput::run(
        m_host,
        [this, &context, start, end, member] {
            ContributionReports reports(context.db(), reportHeading(context), context.church());
            return m_report == Report::EntryControl ? reports.printContributionsEntryControlReport(start, end)
                                                    : reports.printMemberContributionsReport(member, start, end);
        },
        true);
    closeScreen(this);
}
