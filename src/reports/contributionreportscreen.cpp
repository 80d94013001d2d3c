#include "reports/contributionreportscreen.h"

#include "contributions/contributionstore.h"
#include "reports/contributionreports.h"
#include "reports/reporterror.h"
#include "reports/reportheading.h"
#include "reports/reportoutput.h"
#include "reports/smtpsender.h"
#include "reports/statementfiles.h"
#include "reports/statementmail.h"
#include "services/appcontext.h"
#include "services/mailserver.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/filedialogs.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/passwordquestion.h"
#include "widgets/peoplelist.h"
#include "widgets/screenhelpers.h"
#include "widgets/screenhost.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QDir>
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
    QList<QPushButton*> buttons{ok};
    if (report == Report::MemberContributions) {
        auto* files = Controls::button(this, QStringLiteral("btnStatementFiles"), tr("Save as &Files..."));
        auto* email = Controls::button(this, QStringLiteral("btnStatementEmail"), tr("Send by &E-mail..."));
        buttons << files << email;
        Guard::connect(files, &QPushButton::clicked, this, tr("Save the statements as files"), [this] { saveFiles(); });
        Guard::connect(email, &QPushButton::clicked, this, tr("Send the statements by e-mail"),
                       [this] { sendEmail(); });
    }
    buttons << cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(Controls::buttonRow(buttons));
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

std::optional<std::pair<QDate, QDate>> ContributionReportScreen::chosenPeriod()
{
    if (!Controls::acceptEntries(this)) {
        return std::nullopt;
    }
    const QDate start = m_start->date();
    const QDate end = m_end->date();
    if (const QString error = ContributionReports::periodError(start, end); !error.isEmpty()) {
        showMessage(error, MessageStyle::Plain, ContributionReports::invalidSelectionTitle());
        return std::nullopt;
    }
    return std::pair{start, end};
}

void ContributionReportScreen::run()
{
    const auto period = chosenPeriod();
    if (!period) {
        return;
    }
    const auto [start, end] = *period;
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

namespace {

StatementScope scopeOf(QComboBox* member)
{
    const std::optional<qint64> id = PairedList::selectedIdUnlessBlank(member);
    return id ? StatementScope{StatementScope::Kind::Member, *id} : StatementScope{};
}

} // namespace

void ContributionReportScreen::saveFiles()
{
    const auto period = chosenPeriod();
    if (!period) {
        return;
    }
    const QString folder = FileDialogs::getExistingDirectory(this, tr("Folder for the Statements"));
    if (folder.isEmpty()) {
        return;
    }
    AppContext& context = m_host.context();
    ContributionReports reports(context.db(), reportHeading(context), context.church());
    StatementFileRun run;
    try {
        const BusyCursor busy;
        const auto statements = Statements::collect(context.db(), period->first, period->second, scopeOf(m_member));
        run = StatementFiles::write(reports, statements, period->first, period->second, folder);
    } catch (const ReportError& error) {
        showMessage(error.message(), MessageStyle::Critical, windowTitle());
        return;
    }
    QString text = tr("%n statement file(s) written to %1, listed in index.csv.", nullptr, int(run.written.size()))
                       .arg(QDir::toNativeSeparators(folder));
    if (!run.skipped.isEmpty()) {
        text +=
            u'\n' + tr("Left out, with a net total of zero or less: %1").arg(run.skipped.join(QStringLiteral("; ")));
    }
    if (!run.noAddress.isEmpty()) {
        text += u'\n' + tr("Written, but without a mailing address: %1").arg(run.noAddress.join(QStringLiteral("; ")));
    }
    showMessage(text, MessageStyle::Plain, windowTitle());
}

void ContributionReportScreen::sendEmail()
{
    const auto period = chosenPeriod();
    if (!period) {
        return;
    }
    AppContext& context = m_host.context();
    const MailServer server = MailServer::load(context.db());
    const QString from = server.sender.trimmed().isEmpty() ? context.church().email.trimmed() : server.sender.trimmed();
    if (!server.isSet() || from.isEmpty()) {
        showMessage(tr("Fill in the mail server and its sender address (or the church's e-mail address) on the Setup "
                       "screen first."),
                    MessageStyle::Plain, windowTitle());
        return;
    }
    ContributionReports reports(context.db(), reportHeading(context), context.church());
    std::vector<Statement> statements;
    StatementMailRun planned;
    {
        const BusyCursor busy;
        statements = Statements::collect(context.db(), period->first, period->second, scopeOf(m_member));
        planned = StatementMail::send(context.db(), reports, statements, period->first, period->second, from, nullptr,
                                      context.clock().now());
    }
    if (planned.sent.isEmpty()) {
        showMessage(tr("No statement is waiting to be sent.") + u'\n' + StatementMail::summary(planned, true),
                    MessageStyle::Plain, windowTitle());
        return;
    }
    if (showMessage(
            tr("Send %n statement(s) by e-mail through %1?", nullptr, int(planned.sent.size())).arg(server.host) +
                u'\n' + StatementMail::summary(planned, true),
            MessageStyle::YesNo, windowTitle()) != MessageAnswer::Yes) {
        return;
    }
    QString password;
    if (!server.userName.trimmed().isEmpty()) {
        const std::optional<QString> asked = PasswordQuestion::ask(
            tr("Password of %1 on the mail server %2:").arg(server.userName, server.host), windowTitle());
        if (!asked) {
            return;
        }
        password = *asked;
    }
    StatementMailRun run;
    {
        const BusyCursor busy;
        SmtpSender sender(server, password);
        run = StatementMail::send(context.db(), reports, statements, period->first, period->second, from, &sender,
                                  context.clock().now());
    }
    showMessage(StatementMail::summary(run, false), run.failed.isEmpty() ? MessageStyle::Plain : MessageStyle::Warning,
                windowTitle());
}
