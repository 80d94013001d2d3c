#include "navigators/prospectnavigatorscreen.h"

#include "data/database.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorstore.h"
#include "services/appcontext.h"
#include "services/prospectcontactmodel.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/gridexport.h"
#include "widgets/guardedaction.h"
#include "widgets/listhelpers.h"
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

ProspectNavigatorScreen::ProspectNavigatorScreen(AppContext& context, QWidget* parent)
    : SearchScreen(context, MemberGridModel::Layout::Prospects, parent)
    , m_contacts(new ProspectContactModel(this))
{
    setWindowTitle(tr("Prospect Navigator"));
    buildControls();
    Guard::connect(&context.changes(), &ChangeNotifier::contactsChanged, this, tr("Show the contacts"),
                   [this](qint64 prospectId) {
                       const int row = resultGrid()->currentIndex().row();
                       if (row >= 0 && model()->memberId(row) == prospectId) {
                           showContactsOf(row);
                       }
                   });
    loadSearchValues();
}

ProspectNavigatorScreen::~ProspectNavigatorScreen() = default;

void ProspectNavigatorScreen::buildControls()
{
    QGroupBox* criteriaFrame = this->criteriaFrame();
    QGridLayout* grid = criteriaLayout();

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

    finishControls(datesRow + 1, 4 * 2, tr("Prospects"),
                   {{QStringLiteral("btnPrintList"), tr("Print &List"), PeopleReport::ProspectList,
                     Permission::ProspectNavigatorReport},
                    {QStringLiteral("btnPrintListShort"), tr("Print &Short"), PeopleReport::ProspectListShort,
                     Permission::ProspectNavigatorReport},
                    {QStringLiteral("btnPrintMailingLabels"), tr("Print &Mail Lbl"), PeopleReport::MailingLabels,
                     Permission::MailingLabelsReport},
                    {QStringLiteral("btnPrintPS"), tr("Print &PCS"), PeopleReport::VisitationSheets,
                     Permission::ProspectVisitationSheetReport}});
    findOnEnter({m_name, m_search, m_mapSection});
    // A block of rows, from the current row to the end of the selection, for the visitation sheets.
    resultGrid()->setSelectionMode(QAbstractItemView::ContiguousSelection);

    auto* contactFrame = Controls::frame(this, QStringLiteral("Frame3"), tr("Contacts"));
    m_contactGrid = Controls::resultGrid(contactFrame, QStringLiteral("vsfgContact"));
    m_contactGrid->setModel(m_contacts);
    (new QVBoxLayout(contactFrame))->addWidget(m_contactGrid);
    qobject_cast<QVBoxLayout*>(layout())->addWidget(contactFrame, 1);

    for (QComboBox* list :
         {m_nextAction, m_prevAction, m_status, m_churchStatus, m_prospectStatus, m_ssClass, m_careGroup, m_dobAnniv}) {
        attachTypeAhead(list, context());
    }
    Guard::connect(resultGrid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   tr("Show the contacts"),
                   [this](const QModelIndex& current, const QModelIndex&) { showContactsOf(current.row()); });
    Guard::connect(m_contactGrid, &QTableView::doubleClicked, this, tr("Show the contact"),
                   [this](const QModelIndex& index) { openContact(index); });
}

void ProspectNavigatorScreen::loadSearchValues()
{
    m_search->clear();
    setDatesToToday();
    m_nextDate->setChecked(false);
    m_prevDate->setChecked(false);
    refillLists(false);
    m_contacts->clear();
    model()->clear();
}

void ProspectNavigatorScreen::refillLists(bool keepChoices)
{
    ProspectSearchValues values;
    {
        BusyCursor busy;
        values = ProspectNavigatorStore(context().db()).loadSearchValues();
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

QString ProspectNavigatorScreen::countCaption(int count) const
{
    return tr("Prospects - Matching Records: %1").arg(count);
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

bool ProspectNavigatorScreen::findPeople()
{
    Database& db = context().db();
    m_contacts->clear();
    // The count and every ID come now; the rows are read as the grid scrolls to them.
    model()->setResult(ProspectNavigatorStore(db).findIds(criteria()),
                       [&db](const QList<qint64>& ids) { return MemberNavigatorStore(db).rowsOf(ids); });
    return true;
}

void ProspectNavigatorScreen::showContactsOf(int row)
{
    if (row < 0 || row >= model()->rowCount()) {
        return;
    }
    m_contacts->setContacts(ProspectContactQuery::contactsOf(context().db(), model()->memberId(row)));
    fitContactColumns(m_contactGrid);
}

void ProspectNavigatorScreen::setDatesToToday()
{
    const QDate today = context().clock().today();
    for (DateBox* date : {m_startDate, m_endDate, m_startDatePrev, m_endDatePrev}) {
        date->setDate(today);
    }
}

void ProspectNavigatorScreen::findDue(const QDate& from, const QDate& to)
{
    clearCriteria();
    m_nextDate->setChecked(true);
    m_startDate->setDate(from);
    m_endDate->setDate(to);
    m_status->setCurrentIndex(m_status->findText(QStringLiteral("Prospect"), Qt::MatchFixedString));
    m_prospectStatus->setCurrentIndex(m_prospectStatus->findText(QStringLiteral("Active"), Qt::MatchFixedString));
    updateGrids();
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
    model()->clear();
}

void ProspectNavigatorScreen::openContact(const QModelIndex& index)
{
    if (!checkPermission(context(), Permission::ProspectContactEntryEdit, Refusal::Edit)) {
        return;
    }
    if (!index.isValid()) {
        return;
    }
    emit context().requests().showContact(m_contacts->contactId(index.row()));
}

QList<qint64> ProspectNavigatorScreen::selectedIds() const
{
    QList<int> rows;
    for (const QModelIndex& index : resultGrid()->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    QList<qint64> ids;
    for (const int row : rows) {
        ids << model()->memberId(row);
    }
    return ids;
}

bool ProspectNavigatorScreen::readyToPrint(PeopleReport report)
{
    if (report != PeopleReport::VisitationSheets) {
        return true;
    }
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty()) {
        emit context().requests().showStatus(tr("Nothing to print"));
        return false;
    }
    const MessageAnswer answer =
        showMessage(tr("Are you sure you want to print Prospect Visitation Sheets for each name selected in the box "
                       "below? Total number is: %1")
                        .arg(ids.size()),
                    MessageStyle::YesNo, tr("Print Confirmation"));
    return answer == MessageAnswer::Yes;
}

PeopleReportRequest ProspectNavigatorScreen::printRequest(PeopleReport report) const
{
    if (report == PeopleReport::VisitationSheets) {
        return {report, selectedIds(), {}, {}};
    }
    return SearchScreen::printRequest(report);
}
