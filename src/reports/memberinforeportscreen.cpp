#include "reports/memberinforeportscreen.h"

#include "reports/memberinforeports.h"
#include "reports/reportheading.h"
#include "reports/reportoutput.h"
#include "services/appcontext.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/peoplelist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/screenhost.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The two runs stand before the people, under IDs no person has.
constexpr qint64 kHeadsOfHousehold = -1;
constexpr qint64 kMembersAndChildren = -2;

} // namespace

MemberInfoReportScreen::MemberInfoReportScreen(ScreenHost& host)
    : QWidget(host.frame())
    , m_host(host)
{
    setWindowTitle(tr("Member Information Update Report"));
    m_person = Controls::pickList(this, QStringLiteral("cmbProspect"));
    PeopleList::attach(m_person, host.context().people(),
                       {{{kHeadsOfHousehold, tr("***All Head of Household***")},
                         {kMembersAndChildren, tr("***All Members & Child of Members***")}},
                        false,
                        false});
    m_person->setCurrentIndex(-1);
    attachTypeAhead(m_person, host.context());
    auto* form = new QFormLayout;
    form->addRow(Controls::label(this, tr("Name")), m_person);

    auto* ok = Controls::button(this, QStringLiteral("btnOK"), tr("&Ok"));
    auto* cancel = Controls::button(this, QStringLiteral("btnCancel"), tr("&Cancel"));
    auto* buttons = Controls::buttonRow({ok, cancel});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    Guard::connect(ok, &QPushButton::clicked, this, tr("Member Information Update Report"), [this] { run(); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void MemberInfoReportScreen::run()
{
    AppContext& context = m_host.context();
    // The permission is asked again: the screen may have stayed open across a change of login.
    if (!checkPermission(context, Permission::MemberInformationUpdateReport, Refusal::Run)) {
        return;
    }
    const std::optional<qint64> chosen = PairedList::selectedId(m_person);
    if (!chosen) {
        showMessage(tr("You must select a Prospect."), MessageStyle::Plain, tr("Invalid Selection"));
        return;
    }
    ReportOutput::run(
        m_host,
        [this, &context, id = *chosen] {
            MemberInfoReports reports(context.db(), reportHeading(context));
            const QList<qint64> people =
                id == kHeadsOfHousehold     ? reports.peopleOf(MemberInfoReports::Run::HeadsOfHousehold)
                : id == kMembersAndChildren ? reports.peopleOf(MemberInfoReports::Run::MembersAndChildren)
                                            : QList<qint64>{id};
            // A run of many sheets shows how far it is; Cancel stops it and nothing is printed.
            QProgressDialog progress(tr("Preparing the update sheets…"), tr("Cancel"), 0, int(people.size()), this);
            progress.setWindowTitle(windowTitle());
            progress.setWindowModality(Qt::WindowModal);
            progress.setMinimumDuration(500);
            return reports.printSheets(people, [&progress](int done) {
                progress.setValue(done);
                return !progress.wasCanceled();
            });
        },
        false);
    closeScreen(this);
}
