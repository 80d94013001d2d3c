#include "reports/prospectreportscreens.h"

#include "reports/prospectreports.h"
#include "reports/reportheading.h"
#include "reports/reportoutput.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/peoplelist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/screenhost.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ProspectContactSheetScreen::ProspectContactSheetScreen(ScreenHost& host)
    : QWidget(host.frame())
    , m_host(host)
{
    setWindowTitle(tr("Prospect Contact Sheet"));
    m_prospect = Controls::pickList(this, QStringLiteral("cmbProspect"));
    PeopleList::attach(m_prospect, host.context().people());
    m_prospect->setCurrentIndex(-1);
    attachTypeAhead(m_prospect, host.context());
    auto* form = new QFormLayout;
    form->addRow(Controls::label(this, tr("Prospect")), m_prospect);

    auto* ok = Controls::button(this, QStringLiteral("btnOK"), tr("&Ok"));
    auto* cancel = Controls::button(this, QStringLiteral("btnCancel"), tr("&Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(Controls::buttonRow({ok, cancel}));
    setMinimumWidth(420);

    Guard::connect(ok, &QPushButton::clicked, this, tr("Prospect Contact Sheet"), [this] { run(); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void ProspectContactSheetScreen::run()
{
    AppContext& context = m_host.context();
    // The permission is asked again: the screen may have stayed open across a change of login.
    if (!checkPermission(context, Permission::ProspectVisitationSheetReport, Refusal::Run)) {
        return;
    }
    const std::optional<qint64> chosen = PairedList::selectedId(m_prospect);
    if (!chosen) {
        showMessage(tr("You must select a Prospect."), MessageStyle::Plain, tr("Invalid Selection"));
        return;
    }
    ReportOutput::run(
        m_host,
        [&context, id = *chosen] {
            return ProspectReports(context.db(), reportHeading(context)).printVisitationSheet(id);
        },
        true);
    closeScreen(this);
}

ProspectListingReportScreen::ProspectListingReportScreen(ScreenHost& host)
    : QWidget(host.frame())
    , m_host(host)
{
    setWindowTitle(tr("Sunday School Prospect Listing Report"));
    AppContext& context = host.context();
    LookupStore lookups(context.db());

    m_classes = PairedList::multiSelectList(this, QStringLiteral("lstSSClass"));
    PairedList::fill(m_classes, lookups.classes(ClassKind::SundaySchool));
    auto* selectAll = Controls::button(this, QStringLiteral("btnSelectAll"), tr("Select &All"));
    auto* selectNone = Controls::button(this, QStringLiteral("btnSelectNone"), tr("Select &None"));

    m_start = Controls::datePicker(this, QStringLiteral("dtStart"));
    m_end = Controls::datePicker(this, QStringLiteral("dtEnd"));
    m_start->setDate(context.clock().today());
    m_end->setDate(context.clock().today());
    m_actions = new QListWidget(this);
    m_actions->setObjectName(QStringLiteral("lstAction"));
    m_actions->setSelectionMode(QAbstractItemView::MultiSelection);
    m_actions->addItems(lookups.texts(LookupList::ProspectActions));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Controls::label(this, tr("Sunday School Class List")));
    layout->addWidget(m_classes);
    layout->addLayout(Controls::buttonRow({selectAll, selectNone}));
    layout->addWidget(Controls::label(this, tr("Print Prospect Sheet for Next Action Occruring Between:")));
    auto* dates = new QHBoxLayout;
    dates->addWidget(m_start);
    dates->addWidget(new QLabel(tr("and"), this));
    dates->addWidget(m_end);
    dates->addStretch();
    layout->addLayout(dates);
    layout->addWidget(Controls::label(this, tr("Print Prospect Sheet for Next Action Being:")));
    layout->addWidget(m_actions);
    auto* ok = Controls::button(this, QStringLiteral("btnOK"), tr("&Ok"));
    auto* cancel = Controls::button(this, QStringLiteral("btnCancel"), tr("&Cancel"));
    layout->addLayout(Controls::buttonRow({ok, cancel}));
    setMinimumWidth(420);

    connect(selectAll, &QPushButton::clicked, m_classes, &QListWidget::selectAll);
    connect(selectNone, &QPushButton::clicked, m_classes, &QListWidget::clearSelection);
    Guard::connect(ok, &QPushButton::clicked, this, tr("Sunday School Prospect Listing"), [this] { run(); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void ProspectListingReportScreen::run()
{
    if (!Controls::acceptEntries(this)) {
        return;
    }
    QStringList actions;
    for (int row = 0; row < m_actions->count(); ++row) {
        if (m_actions->item(row)->isSelected()) {
            actions << m_actions->item(row)->text();
        }
    }
    const QDate from = m_start->date();
    const QDate to = m_end->date();
    // The dates are used only for the sheets, that is when an action is chosen.
    if (!actions.isEmpty() && from > to) {
        showMessage(tr("The start date is after the end date."), MessageStyle::Plain, tr("Invalid Selection"));
        return;
    }
    const QList<qint64> classes = PairedList::selectedIds(m_classes);
    if (!classes.isEmpty()) {
        ReportOutput::printRun(m_host, [this, classes, from, to, actions] {
            AppContext& context = m_host.context();
            return ProspectReports(context.db(), reportHeading(context)).printListingRun(classes, from, to, actions);
        });
    }
    closeScreen(this);
}
