#include "navigators/membernavigatorscreen.h"

#include "data/database.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorstore.h"
#include "services/appcontext.h"
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
    : SearchScreen(context, MemberGridModel::Layout::Members, parent)
{
    setWindowTitle(tr("Member Navigator"));
    buildControls();
    // Changed responsibilities change the deacon and responsibility lists.
    Guard::connect(&context.changes(), &ChangeNotifier::responsibilitiesChanged, this, tr("Refill the search lists"),
                   [this] { refillLists(true); });
    loadSearchValues();
}

MemberNavigatorScreen::~MemberNavigatorScreen() = default;

void MemberNavigatorScreen::buildControls()
{
    QGroupBox* frame = criteriaFrame();
    QGridLayout* grid = criteriaLayout();

    m_name = new QLineEdit(frame);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_search = new QLineEdit(frame);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_mapSection = new QLineEdit(frame);
    m_mapSection->setObjectName(QStringLiteral("txtMapSection"));
    const auto pickList = [frame](const char* name) { return Controls::pickList(frame, QString::fromUtf8(name)); };
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

    m_memberSince = new QCheckBox(tr("Member Since"), frame);
    m_memberSince->setObjectName(QStringLiteral("chkMemberSince"));
    m_startDate = Controls::datePicker(frame, QStringLiteral("dtStartDate"));
    m_endDate = Controls::datePicker(frame, QStringLiteral("dtEndDate"));
    auto* dates = new QHBoxLayout;
    dates->addWidget(m_startDate);
    dates->addWidget(new QLabel(tr("to"), frame));
    dates->addWidget(m_endDate);
    dates->addStretch();
    grid->addWidget(m_memberSince, datesRow, 0, 1, 2, Qt::AlignRight);
    grid->addLayout(dates, datesRow, 2, 1, 4);

    finishControls(datesRow + 1, 4 * 2, tr("Members/Prospects"),
                   {{QStringLiteral("btnPrintList"), tr("Print &List"), PeopleReport::MemberList,
                     Permission::MemberNavigatorReport},
                    {QStringLiteral("btnPrintListDOBAnniv"), tr("Print &DOB/Anniv"), PeopleReport::MemberListWithDates,
                     Permission::MemberNavigatorReport},
                    {QStringLiteral("btnPrintMailingLabels"), tr("Print &Mail Lbl"), PeopleReport::MailingLabels,
                     Permission::MailingLabelsReport}});
    findOnEnter({m_name, m_search, m_mapSection});

    for (QComboBox* list : {m_status, m_churchStatus, m_dobAnniv, m_ssClass, m_careGroup, m_discClass, m_wedClass,
                            m_deacon, m_prospectStatus, m_responsibility}) {
        attachTypeAhead(list, context());
    }
    // A date the user types or picks turns the date range on; dates the screen sets itself do not.
    for (DateBox* date : {m_startDate, m_endDate}) {
        connect(date, &DateBox::edited, m_memberSince, [this] { m_memberSince->setChecked(true); });
    }
}

void MemberNavigatorScreen::loadSearchValues()
{
    refillLists(false);
    model()->clear();
    setDatesToToday();
}

void MemberNavigatorScreen::refillLists(bool keepChoices)
{
    MemberSearchValues values;
    {
        BusyCursor busy;
        values = MemberNavigatorStore(context().db()).loadSearchValues();
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

QString MemberNavigatorScreen::countCaption(int count) const
{
    return tr("Members/Prospects - Matching Records: %1").arg(count);
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

bool MemberNavigatorScreen::findPeople()
{
    Database& db = context().db();
    // The count and every ID come now; the rows are read as the grid scrolls to them.
    model()->setResult(MemberNavigatorStore(db).findIds(criteria()),
                       [&db](const QList<qint64>& ids) { return MemberNavigatorStore(db).rowsOf(ids); });
    return true;
}

void MemberNavigatorScreen::showPeople(const QString& caption, const QList<qint64>& memberIds)
{
    clearCriteria();
    Database& db = context().db();
    model()->setResult(memberIds, [&db](const QList<qint64>& ids) { return MemberNavigatorStore(db).rowsOf(ids); });
    showResult(tr("%1 - Matching Records: %2").arg(caption).arg(memberIds.size()));
}

void MemberNavigatorScreen::setDatesToToday()
{
    const QDate today = context().clock().today();
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
    model()->clear();
}
