#include "navigators/prospectnavigatorscreen.h"

#include "data/database.h"
#include "navigators/labelchoice.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorstore.h"
#include "navigators/resultfollowing.h"
#include "shell/appcontext.h"
#include "shell/prospectcontactmodel.h"
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
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A grid of the screen: whole rows, read-only, fixed row heights (cheap for tens of thousands of rows).
void setUpGrid(QTableView* grid)
{
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    GridExport::attach(grid);
}

} // namespace

ProspectNavigatorScreen::ProspectNavigatorScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_model(new MemberGridModel(this, MemberGridModel::Layout::Prospects))
    , m_contacts(new ProspectContactModel(this))
{
    setWindowTitle(tr("Prospect Navigator"));
    buildControls();

    // The grid keeps its result: a person saved elsewhere shows as now stored, a deleted one leaves it.
    followRollChanges(
        this, m_context, m_model, [this] { refillLists(true); }, [this] { showCount(); });
    Guard::connect(&m_context.changes(), &ChangeNotifier::contactsChanged, this, tr("Show the contacts"),
                   [this](qint64 prospectId) {
                       const int row = m_grid->currentIndex().row();
                       if (row >= 0 && m_model->memberId(row) == prospectId) {
                           showContactsOf(row);
                       }
                   });

    loadSearchValues();
}

ProspectNavigatorScreen::~ProspectNavigatorScreen() = default;

QSize ProspectNavigatorScreen::sizeHint() const
{
    return searchScreenSize(this, QWidget::sizeHint());
}

void ProspectNavigatorScreen::buildControls()
{
    auto* criteriaFrame = new QGroupBox(tr("Search Criteria"), this);
    criteriaFrame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(criteriaFrame);

    const auto text = [criteriaFrame](const char* name) {
        auto* edit = new QLineEdit(criteriaFrame);
        edit->setObjectName(QString::fromUtf8(name));
        return edit;
    };
    const auto pickList = [criteriaFrame](const char* name) {
        return Controls::pickList(criteriaFrame, QString::fromUtf8(name));
    };
    m_phase = pickList("cmbPhase");
    m_name = text("txtName");
    m_nextAction = pickList("cmbNextAction");
    m_prevAction = pickList("cmbPrevAction");
    m_status = pickList("cmbStatus");
    m_churchStatus = pickList("cmbChurchStatus");
    m_prospectStatus = pickList("cmbProspectStatus");
    m_search = text("txtSearch");
    m_ssClass = pickList("cmbSSClass");
    m_careGroup = pickList("cmbCG");
    m_dobAnniv = pickList("cmbDobAnniv");
    m_mapSection = text("txtMapSection");

    const int datesRow = Controls::addLabelledFields(grid,
                                                     {
                                                         {tr("Phase"), m_phase},
                                                         {tr("Name"), m_name},
                                                         {tr("Next Action"), m_nextAction},
                                                         {tr("Prev. Act,"), m_prevAction},
                                                         {tr("Member Status"), m_status},
                                                         {tr("Church Status"), m_churchStatus},
                                                         {tr("Prospect Status"), m_prospectStatus},
                                                         {tr("Search"), m_search},
                                                         {tr("SS Class"), m_ssClass},
                                                         {tr("CG Assign"), m_careGroup},
                                                         {tr("DOB/Anniv"), m_dobAnniv},
                                                         {tr("Map"), m_mapSection},
                                                     },
                                                     4);

    // The two date ranges: the next contact as scheduled and the contacts made.
    const auto range = [this, criteriaFrame](const char* check, const QString& label, const char* from, const char* to,
                                             DateBox*& start, DateBox*& end) {
        auto* box = new QCheckBox(label, criteriaFrame);
        box->setObjectName(QString::fromUtf8(check));
        start = Controls::datePicker(criteriaFrame, QString::fromUtf8(from));
        end = Controls::datePicker(criteriaFrame, QString::fromUtf8(to));
        // A date the user types or picks turns its range on; dates the screen sets itself do not.
        for (DateBox* date : {start, end}) {
            connect(date, &DateBox::edited, box, [box] { box->setChecked(true); });
        }
        return box;
    };
    m_nextDate = range("chkNextDate", tr("Next Contact"), "dtStartDate", "dtEndDate", m_startDate, m_endDate);
    m_prevDate = range("chkPrevDate", tr("Previous Contact"), "dtStartDatePrev", "dtEndDatePrev", m_startDatePrev,
                       m_endDatePrev);
    auto* dates = new QHBoxLayout;
    dates->addWidget(m_nextDate);
    dates->addWidget(m_startDate);
    dates->addWidget(new QLabel(tr("to"), criteriaFrame));
    dates->addWidget(m_endDate);
    dates->addSpacing(24);
    dates->addWidget(m_prevDate);
    dates->addWidget(m_startDatePrev);
    dates->addWidget(new QLabel(tr("to"), criteriaFrame));
    dates->addWidget(m_endDatePrev);
    dates->addStretch();
    grid->addLayout(dates, datesRow, 0, 1, 4 * 2);

    const Controls::SearchButtons buttons =
        Controls::searchButtons(criteriaFrame, {{QStringLiteral("btnPrintList"), tr("Print &List")},
                                                {QStringLiteral("btnPrintListShort"), tr("Print &Short")},
                                                {QStringLiteral("btnPrintMailingLabels"), tr("Print &Mail Lbl")},
                                                {QStringLiteral("btnPrintPS"), tr("Print &PCS")}});
    QPushButton* find = buttons.find;
    QPushButton* clear = buttons.clear;
    QPushButton* exit = buttons.exit;
    QPushButton* printList = buttons.prints.at(0);
    QPushButton* printShort = buttons.prints.at(1);
    QPushButton* printLabels = buttons.prints.at(2);
    m_labelPerHousehold = addHouseholdLabelChoice(buttons.row, printLabels);
    QPushButton* printSheets = buttons.prints.at(3);
    grid->addLayout(buttons.row, datesRow + 1, 0, 1, 4 * 2);

    m_gridFrame = new QGroupBox(tr("Prospects"), this);
    m_gridFrame->setObjectName(QStringLiteral("Frame2"));
    m_grid = new QTableView(m_gridFrame);
    m_grid->setObjectName(QStringLiteral("vsfgMembers"));
    m_grid->setModel(m_model);
    setUpGrid(m_grid);
    // A block of rows, from the current row to the end of the selection, for the visitation sheets.
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    (new QVBoxLayout(m_gridFrame))->addWidget(m_grid);

    auto* contactFrame = new QGroupBox(tr("Contacts"), this);
    contactFrame->setObjectName(QStringLiteral("Frame3"));
    m_contactGrid = new QTableView(contactFrame);
    m_contactGrid->setObjectName(QStringLiteral("vsfgContact"));
    m_contactGrid->setModel(m_contacts);
    setUpGrid(m_contactGrid);
    m_contactGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    (new QVBoxLayout(contactFrame))->addWidget(m_contactGrid);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(criteriaFrame);
    layout->addWidget(m_gridFrame, 1);
    layout->addWidget(contactFrame, 1);

    for (QComboBox* list :
         {m_nextAction, m_prevAction, m_status, m_churchStatus, m_prospectStatus, m_ssClass, m_careGroup, m_dobAnniv}) {
        attachTypeAhead(list, m_context);
    }

    const QString findText = find->text();
    Guard::connect(find, &QPushButton::clicked, this, findText, [this] { updateGrids(); });
    connect(clear, &QPushButton::clicked, this, &ProspectNavigatorScreen::clearCriteria);
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    Guard::connect(printList, &QPushButton::clicked, this, printList->text(), [this] { print(Report::ProspectList); });
    Guard::connect(printShort, &QPushButton::clicked, this, printShort->text(),
                   [this] { print(Report::ProspectListShort); });
    Guard::connect(printLabels, &QPushButton::clicked, this, printLabels->text(),
                   [this] { print(Report::MailingLabels); });
    Guard::connect(printSheets, &QPushButton::clicked, this, printSheets->text(), [this] { printVisitationSheets(); });
    for (QLineEdit* edit : {m_name, m_search, m_mapSection}) {
        Guard::connect(edit, &QLineEdit::returnPressed, this, findText, [this] { updateGrids(); });
    }
    auto* findShortcut = new QShortcut(QKeySequence::Find, this);
    Guard::connect(findShortcut, &QShortcut::activated, this, findText, [this] { updateGrids(); });
    auto* printShortcut = new QShortcut(QKeySequence::Print, this);
    Guard::connect(printShortcut, &QShortcut::activated, this, printList->text(),
                   [this] { print(Report::ProspectList); });

    Guard::connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, tr("Show the contacts"),
                   [this](const QModelIndex& current, const QModelIndex&) { showContactsOf(current.row()); });
    Guard::connect(m_grid, &QTableView::doubleClicked, this, tr("Show the person"),
                   [this](const QModelIndex& index) { openPerson(index); });
    Guard::connect(m_contactGrid, &QTableView::doubleClicked, this, tr("Show the contact"),
                   [this](const QModelIndex& index) { openContact(index); });
    connect(m_model, &MemberGridModel::fetchFailed, this, [this](const QString& message) {
        showMessage(tr("The rest of the list could not be read: %1").arg(message), MessageStyle::Critical,
                    tr("Database Error"));
    });
}

void ProspectNavigatorScreen::loadSearchValues()
{
    m_search->clear();
    setDatesToToday();
    m_nextDate->setChecked(false);
    m_prevDate->setChecked(false);
    refillLists(false);
    m_contacts->clear();
    m_model->clear();
}

void ProspectNavigatorScreen::refillLists(bool keepChoices)
{
    ProspectSearchValues values;
    {
        BusyCursor busy;
        values = ProspectNavigatorStore(m_context.db()).loadSearchValues();
    }
    const QList<std::pair<QComboBox*, QStringList>> texts = {
        {m_phase, values.phases},
        {m_nextAction, values.actions},
        {m_prevAction, values.actions},
        {m_status, values.memberStatuses},
        {m_churchStatus, values.churchStatuses},
        {m_prospectStatus, values.prospectStatuses},
        {m_dobAnniv, Controls::monthNames()},
    };
    Controls::refillAll(texts, {{m_ssClass, values.sundaySchoolClasses}, {m_careGroup, values.careGroups}},
                        keepChoices);
}

void ProspectNavigatorScreen::showCount()
{
    m_gridFrame->setTitle(tr("Prospects - Matching Records: %1").arg(m_model->matchCount()));
}

ProspectSearchCriteria ProspectNavigatorScreen::criteria() const
{
    ProspectSearchCriteria c;
    c.phase = m_phase->currentText();
    c.name = m_name->text();
    c.nextContactUsed = m_nextDate->isChecked();
    c.nextFrom = m_startDate->date();
    c.nextTo = m_endDate->date();
    c.nextAction = m_nextAction->currentText();
    c.previousContactUsed = m_prevDate->isChecked();
    c.previousFrom = m_startDatePrev->date();
    c.previousTo = m_endDatePrev->date();
    c.previousAction = m_prevAction->currentText();
    c.memberStatus = m_status->currentText();
    c.churchStatus = m_churchStatus->currentText();
    c.prospectStatus = m_prospectStatus->currentText();
    c.search = m_search->text();
    c.sundaySchoolClass = PairedList::selectedId(m_ssClass);
    c.careGroup = PairedList::selectedId(m_careGroup);
    c.birthOrAnniversaryMonth = m_dobAnniv->currentIndex() + 1;
    c.mapSection = m_mapSection->text();
    return c;
}

void ProspectNavigatorScreen::updateGrids()
{
    {
        BusyCursor busy;
        Database& db = m_context.db();
        m_contacts->clear();
        // The count and every ID come now; the rows are read as the grid scrolls to them.
        m_model->setResult(ProspectNavigatorStore(db).findIds(criteria()),
                           [&db](const QList<qint64>& ids) { return MemberNavigatorStore(db).rowsOf(ids); });
        Controls::fitColumnsToLongest(m_grid, [this](int column) { return m_model->longestRow(column); });
    }
    showCount();
}

void ProspectNavigatorScreen::showContactsOf(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        return;
    }
    m_contacts->setContacts(ProspectContactQuery::contactsOf(m_context.db(), m_model->memberId(row)));
    fitContactColumns(m_contactGrid);
}

void ProspectNavigatorScreen::setDatesToToday()
{
    const QDate today = m_context.clock().today();
    for (DateBox* date : {m_startDate, m_endDate, m_startDatePrev, m_endDatePrev}) {
        date->setDate(today);
    }
}

void ProspectNavigatorScreen::clearCriteria()
{
    m_name->clear();
    m_search->clear();
    m_mapSection->clear();
    m_nextDate->setChecked(false);
    m_prevDate->setChecked(false);
    setDatesToToday();
    for (QComboBox* list : {m_phase, m_nextAction, m_prevAction, m_status, m_churchStatus, m_prospectStatus, m_ssClass,
                            m_careGroup, m_dobAnniv}) {
        list->setCurrentIndex(-1);
    }
    // The frame keeps its last count.
    m_contacts->clear();
    m_model->clear();
}

void ProspectNavigatorScreen::openPerson(const QModelIndex& index)
{
    if (!index.isValid()) {
        return;
    }
    emit m_context.requests().showMember(m_model->memberId(index.row()));
}

void ProspectNavigatorScreen::openContact(const QModelIndex& index)
{
    if (!checkPermission(m_context, Permission::ProspectContactEntryEdit, Refusal::Edit)) {
        return;
    }
    if (!index.isValid()) {
        return;
    }
    emit m_context.requests().showContact(m_contacts->contactId(index.row()));
}

void ProspectNavigatorScreen::print(Report report)
{
    const Permission permission = report == Report::MailingLabels || report == Report::HouseholdLabels
                                      ? Permission::MailingLabelsReport
                                      : Permission::ProspectNavigatorReport;
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

QList<qint64> ProspectNavigatorScreen::selectedIds() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    QList<qint64> ids;
    for (const int row : rows) {
        ids << m_model->memberId(row);
    }
    return ids;
}

void ProspectNavigatorScreen::printVisitationSheets()
{
    if (!checkPermission(m_context, Permission::ProspectVisitationSheetReport, Refusal::Report)) {
        return;
    }
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty()) {
        emit m_context.requests().showStatus(tr("Nothing to print"));
        return;
    }
    const MessageAnswer answer =
        showMessage(tr("Are you sure you want to print Prospect Visitation Sheets for each name selected in the box "
                       "below? Total number is: %1")
                        .arg(ids.size()),
                    MessageStyle::YesNo, tr("Print Confirmation"));
    if (answer == MessageAnswer::Yes) {
        emit reportRequested(Report::VisitationSheets, ids);
    }
}
