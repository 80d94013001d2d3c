#include "navigators/membernavigatorscreen.h"

#include "data/database.h"
#include "navigators/labelchoice.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorstore.h"
#include "navigators/resultfollowing.h"
#include "shell/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/gridexport.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

std::optional<bool> trueFalse(const QComboBox* list)
{
    if (list->currentIndex() < 0) {
        return std::nullopt;
    }
    return list->currentIndex() == 0;
}

} // namespace

MemberNavigatorScreen::MemberNavigatorScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_model(new MemberGridModel(this))
{
    setWindowTitle(tr("Member Navigator"));
    buildControls();

    // The grid keeps its result: a person saved elsewhere shows as now stored, a deleted one leaves it.
    followRollChanges(
        this, m_context, m_model, [this] { refillLists(true); }, [this] { showCount(); });
    // Changed responsibilities change the deacon and responsibility lists.
    Guard::connect(&m_context.changes(), &ChangeNotifier::responsibilitiesChanged, this, tr("Refill the search lists"),
                   [this] { refillLists(true); });

    loadSearchValues();
}

MemberNavigatorScreen::~MemberNavigatorScreen() = default;

QSize MemberNavigatorScreen::sizeHint() const
{
    return searchScreenSize(this, QWidget::sizeHint());
}

void MemberNavigatorScreen::buildControls()
{
    m_criteriaFrame = new QGroupBox(tr("Search Criteria"), this);
    m_criteriaFrame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(m_criteriaFrame);

    m_name = new QLineEdit(m_criteriaFrame);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_search = new QLineEdit(m_criteriaFrame);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_mapSection = new QLineEdit(m_criteriaFrame);
    m_mapSection->setObjectName(QStringLiteral("txtMapSection"));
    const auto pickList = [this](const char* name) {
        return Controls::pickList(m_criteriaFrame, QString::fromUtf8(name));
    };
    m_status = pickList("cmbStatus");
    m_churchStatus = pickList("cmbChurchStatus");
    m_prospectStatus = pickList("cmbProspectStatus");
    m_dobAnniv = pickList("cmbDobAnniv");
    m_ssClass = pickList("cmbSSClass");
    m_careGroup = pickList("cmbCG");
    m_discClass = pickList("cmbDiscClass");
    m_wedClass = pickList("cmbWedClass");
    m_deacon = pickList("cmbDeacon");
    m_responsibility = pickList("cmbResponsibility");
    m_receiveNL = pickList("cmbReceiveNL");
    m_hoh = pickList("cmbHOH");
    m_organization = pickList("cmbOrganization");

    const int datesRow = Controls::addLabelledFields(grid,
                                                     {
                                                         {tr("Name"), m_name},
                                                         {tr("Search"), m_search},
                                                         {tr("Member Status"), m_status},
                                                         {tr("Church Status"), m_churchStatus},
                                                         {tr("Prospect Status"), m_prospectStatus},
                                                         {tr("DOB/Anniv"), m_dobAnniv},
                                                         {tr("Map"), m_mapSection},
                                                         {tr("SS Class"), m_ssClass},
                                                         {tr("CG Assign"), m_careGroup},
                                                         {tr("Disc Class"), m_discClass},
                                                         {tr("Wed Class"), m_wedClass},
                                                         {tr("Deacon"), m_deacon},
                                                         {tr("Responsibility"), m_responsibility},
                                                         {tr("Receive NL"), m_receiveNL},
                                                         {tr("HOH"), m_hoh},
                                                         {tr("Organization"), m_organization},
                                                     },
                                                     4);

    m_memberSince = new QCheckBox(tr("Member Since"), m_criteriaFrame);
    m_memberSince->setObjectName(QStringLiteral("chkMemberSince"));
    m_startDate = Controls::datePicker(m_criteriaFrame, QStringLiteral("dtStartDate"));
    m_endDate = Controls::datePicker(m_criteriaFrame, QStringLiteral("dtEndDate"));
    auto* dates = new QHBoxLayout;
    dates->addWidget(m_startDate);
    dates->addWidget(new QLabel(tr("to"), m_criteriaFrame));
    dates->addWidget(m_endDate);
    dates->addStretch();
    grid->addWidget(m_memberSince, datesRow, 0, 1, 2, Qt::AlignRight);
    grid->addLayout(dates, datesRow, 2, 1, 4);

    const Controls::SearchButtons buttons =
        Controls::searchButtons(m_criteriaFrame, {{QStringLiteral("btnPrintList"), tr("Print &List")},
                                                  {QStringLiteral("btnPrintListDOBAnniv"), tr("Print &DOB/Anniv")},
                                                  {QStringLiteral("btnPrintMailingLabels"), tr("Print &Mail Lbl")}});
    QPushButton* find = buttons.find;
    QPushButton* clear = buttons.clear;
    QPushButton* exit = buttons.exit;
    QPushButton* printList = buttons.prints.at(0);
    QPushButton* printDobAnniv = buttons.prints.at(1);
    QPushButton* printLabels = buttons.prints.at(2);
    m_labelPerHousehold = addHouseholdLabelChoice(buttons.row, printLabels);
    grid->addLayout(buttons.row, datesRow + 1, 0, 1, 4 * 2);

    m_gridFrame = new QGroupBox(tr("Members/Prospects"), this);
    m_gridFrame->setObjectName(QStringLiteral("Frame2"));
    m_grid = new QTableView(m_gridFrame);
    GridExport::attach(m_grid);
    m_grid->setObjectName(QStringLiteral("vsfgMembers"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    // Fixed row heights keep tens of thousands of rows cheap to lay out.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    auto* gridLayout = new QVBoxLayout(m_gridFrame);
    gridLayout->addWidget(m_grid);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_criteriaFrame);
    layout->addWidget(m_gridFrame, 1);

    for (QComboBox* list : {m_status, m_churchStatus, m_dobAnniv, m_ssClass, m_careGroup, m_discClass, m_wedClass,
                            m_deacon, m_prospectStatus, m_responsibility}) {
        attachTypeAhead(list, m_context);
    }

    const QString findText = find->text();
    Guard::connect(find, &QPushButton::clicked, this, findText, [this] { updateGrids(); });
    connect(clear, &QPushButton::clicked, this, &MemberNavigatorScreen::clearCriteria);
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    Guard::connect(printList, &QPushButton::clicked, this, printList->text(), [this] { print(Report::MemberList); });
    Guard::connect(printDobAnniv, &QPushButton::clicked, this, printDobAnniv->text(),
                   [this] { print(Report::MemberListDobAnniv); });
    Guard::connect(printLabels, &QPushButton::clicked, this, printLabels->text(),
                   [this] { print(Report::MailingLabels); });
    for (QLineEdit* edit : {m_name, m_search, m_mapSection}) {
        Guard::connect(edit, &QLineEdit::returnPressed, this, findText, [this] { updateGrids(); });
    }
    auto* findShortcut = new QShortcut(QKeySequence::Find, this);
    Guard::connect(findShortcut, &QShortcut::activated, this, findText, [this] { updateGrids(); });
    auto* printShortcut = new QShortcut(QKeySequence::Print, this);
    Guard::connect(printShortcut, &QShortcut::activated, this, printList->text(),
                   [this] { print(Report::MemberList); });

    // A date the user types or picks turns the date range on; dates the screen sets itself do not.
    for (DateBox* date : {m_startDate, m_endDate}) {
        connect(date, &DateBox::edited, m_memberSince, [this] { m_memberSince->setChecked(true); });
    }
    Guard::connect(m_grid, &QTableView::doubleClicked, this, tr("Show the person"),
                   [this](const QModelIndex& index) { openPerson(index); });
    connect(m_model, &MemberGridModel::fetchFailed, this, [this](const QString& message) {
        showMessage(tr("The rest of the list could not be read: %1").arg(message), MessageStyle::Critical,
                    tr("Database Error"));
    });
}

void MemberNavigatorScreen::loadSearchValues()
{
    refillLists(false);
    m_model->clear();
    setDatesToToday();
}

void MemberNavigatorScreen::refillLists(bool keepChoices)
{
    MemberSearchValues values;
    {
        BusyCursor busy;
        values = MemberNavigatorStore(m_context.db()).loadSearchValues();
    }
    const QList<std::pair<QComboBox*, QStringList>> texts = {
        {m_status, values.memberStatuses},           {m_churchStatus, values.churchStatuses},
        {m_prospectStatus, values.prospectStatuses}, {m_dobAnniv, Controls::monthNames()},
        {m_responsibility, values.responsibilities}, {m_receiveNL, {tr("True"), tr("False")}},
        {m_hoh, {tr("True"), tr("False")}},          {m_organization, values.organizations},
    };
    const QList<std::pair<QComboBox*, NamedIds>> named = {
        {m_ssClass, values.sundaySchoolClasses},
        {m_discClass, values.discipleshipClasses},
        {m_wedClass, values.wednesdayClasses},
        {m_careGroup, values.careGroups},
        {m_deacon, values.deacons},
    };
    Controls::refillAll(texts, named, keepChoices);
}

void MemberNavigatorScreen::showCount()
{
    m_gridFrame->setTitle(tr("Members/Prospects - Matching Records: %1").arg(m_model->matchCount()));
}

MemberSearchCriteria MemberNavigatorScreen::criteria() const
{
    MemberSearchCriteria c;
    c.name = m_name->text();
    c.memberSinceUsed = m_memberSince->isChecked();
    c.memberSinceFrom = m_startDate->date();
    c.memberSinceTo = m_endDate->date();
    c.search = m_search->text();
    c.memberStatus = m_status->currentText();
    c.churchStatus = m_churchStatus->currentText();
    c.prospectStatus = m_prospectStatus->currentText();
    c.birthOrAnniversaryMonth = m_dobAnniv->currentIndex() + 1;
    c.mapSection = m_mapSection->text();
    c.sundaySchoolClass = PairedList::selectedId(m_ssClass);
    c.careGroup = PairedList::selectedId(m_careGroup);
    c.discipleshipClass = PairedList::selectedId(m_discClass);
    c.wednesdayClass = PairedList::selectedId(m_wedClass);
    c.deacon = PairedList::selectedId(m_deacon);
    c.responsibility = m_responsibility->currentText();
    c.receiveNewsletterViaMail = trueFalse(m_receiveNL);
    c.headOfHousehold = trueFalse(m_hoh);
    c.organization = m_organization->currentText();
    return c;
}

void MemberNavigatorScreen::updateGrids()
{
    {
        BusyCursor busy;
        Database& db = m_context.db();
        // The count and every ID come now; the rows are read as the grid scrolls to them.
        m_model->setResult(MemberNavigatorStore(db).findIds(criteria()),
                           [&db](const QList<qint64>& ids) { return MemberNavigatorStore(db).rowsOf(ids); });
        Controls::fitColumnsToLongest(m_grid, [this](int column) { return m_model->longestRow(column); });
    }
    showCount();
}

void MemberNavigatorScreen::setDatesToToday()
{
    const QDate today = m_context.clock().today();
    m_startDate->setDate(today);
    m_endDate->setDate(today);
}

void MemberNavigatorScreen::clearCriteria()
{
    m_name->clear();
    m_search->clear();
    m_mapSection->clear();
    setDatesToToday();
    for (QComboBox* list : {m_status, m_churchStatus, m_prospectStatus, m_dobAnniv, m_ssClass, m_careGroup, m_discClass,
                            m_wedClass, m_deacon, m_responsibility, m_receiveNL, m_hoh, m_organization}) {
        list->setCurrentIndex(-1);
    }
    m_memberSince->setChecked(false);
    m_model->clear();
}

void MemberNavigatorScreen::openPerson(const QModelIndex& index)
{
    if (!index.isValid()) {
        return;
    }
    emit m_context.requests().showMember(m_model->memberId(index.row()));
}

void MemberNavigatorScreen::print(Report report)
{
    const Permission permission = report == Report::MailingLabels || report == Report::HouseholdLabels
                                      ? Permission::MailingLabelsReport
                                      : Permission::MemberNavigatorReport;
    if (!checkPermission(m_context, permission, Refusal::Report)) {
        return;
    }
    if (m_model->matchCount() == 0) {
        emit m_context.requests().showStatus(tr("Nothing to print"));
        return;
    }
    if (report == Report::MailingLabels && m_labelPerHousehold->isChecked()) {
        report = Report::HouseholdLabels;
    }
    emit reportRequested(report, m_model->memberIds());
}
