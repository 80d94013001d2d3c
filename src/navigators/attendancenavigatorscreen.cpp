#include "navigators/attendancenavigatorscreen.h"

#include "core/attendanceweek.h"
#include "navigators/membergridmodel.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

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

QStringList longNames()
{
    QStringList names;
    for (const AttendanceCategory& category : AttendanceWeek::categories()) {
        names << category.longName;
    }
    return names;
}

std::optional<int> chosenCategory(const QComboBox* list)
{
    if (list->currentIndex() < 0) {
        return std::nullopt;
    }
    return list->currentIndex();
}

} // namespace

AttendanceNavigatorScreen::AttendanceNavigatorScreen(AppContext& context, QWidget* parent)
    : SearchScreen(context, MemberGridModel::Layout::Members, parent)
{
    setWindowTitle(tr("Attendance Navigator"));
    buildControls();
    loadSearchValues();
}

AttendanceNavigatorScreen::~AttendanceNavigatorScreen() = default;

void AttendanceNavigatorScreen::buildControls()
{
    QGroupBox* frame = criteriaFrame();
    QGridLayout* grid = criteriaLayout();

    m_name = new QLineEdit(frame);
    m_name->setObjectName(QStringLiteral("txtName"));
    const auto pickList = [frame](const char* name) { return Controls::pickList(frame, QString::fromUtf8(name)); };
    m_status = pickList("cmbStatus");
    m_churchStatus = pickList("cmbChurchStatus");
    m_ssClass = pickList("cmbSSClass");
    m_discClass = pickList("cmbDiscClass");
    m_wedClass = pickList("cmbWedClass");
    m_attended = pickList("cmbClass2");
    m_missed = pickList("cmbClass");
    m_attendDay = Controls::datePicker(frame, QStringLiteral("dtAttend"));
    m_missedCount = new QLineEdit(frame);
    m_missedCount->setObjectName(QStringLiteral("txtMissed"));
    m_missedCount->setMaxLength(3);
    m_missedCount->setMaximumWidth(m_missedCount->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    m_start = Controls::datePicker(frame, QStringLiteral("dtStart"));
    m_end = Controls::datePicker(frame, QStringLiteral("dtEnd"));

    int row = Controls::addLabelledFields(grid,
                                          {
                                              {tr("Name"), m_name},
                                              {tr("Member Status"), m_status},
                                              {tr("Church Status"), m_churchStatus},
                                              {tr("SS Class"), m_ssClass},
                                              {tr("Disc Class"), m_discClass},
                                              {tr("Wed Class"), m_wedClass},
                                          },
                                          3);

    auto* attendedLabel = new QLabel(tr("Attended"), frame);
    attendedLabel->setBuddy(m_attended);
    auto* attendedRow = new QHBoxLayout;
    attendedRow->addWidget(m_attended);
    attendedRow->addWidget(new QLabel(tr("Week of"), frame));
    attendedRow->addWidget(m_attendDay);
    attendedRow->addStretch();
    grid->addWidget(attendedLabel, row, 0, Qt::AlignRight);
    grid->addLayout(attendedRow, row, 1, 1, 3 * 2 - 1);
    ++row;

    auto* missedLabel = new QLabel(tr("Missed"), frame);
    missedLabel->setBuddy(m_missed);
    auto* missedRow = new QHBoxLayout;
    missedRow->addWidget(m_missed);
    missedRow->addWidget(m_missedCount);
    missedRow->addWidget(new QLabel(tr("or more"), frame));
    missedRow->addWidget(new QLabel(tr("between"), frame));
    missedRow->addWidget(m_start);
    missedRow->addWidget(new QLabel(tr("and"), frame));
    missedRow->addWidget(m_end);
    missedRow->addStretch();
    grid->addWidget(missedLabel, row, 0, Qt::AlignRight);
    grid->addLayout(missedRow, row, 1, 1, 3 * 2 - 1);
    ++row;

    finishControls(row, 3 * 2, tr("Names"),
                   {{QStringLiteral("btnPrintList"), tr("Print &List"), PeopleReport::MemberList,
                     Permission::AttendanceNavigatorReport},
                    {QStringLiteral("btnPrintMissed"), tr("Print C&ount"), PeopleReport::AttendanceCount,
                     Permission::AttendanceNavigatorReport}});
    findOnEnter({m_name, m_missedCount});

    // "Attended" has no type-ahead: its entries share their first letters.
    for (QComboBox* list : {m_status, m_churchStatus, m_ssClass, m_discClass, m_wedClass, m_missed}) {
        attachTypeAhead(list, context());
    }
}

void AttendanceNavigatorScreen::loadSearchValues()
{
    refillLists(false);
    model()->clear();
    setDatesToToday();
}

void AttendanceNavigatorScreen::refillLists(bool keepChoices)
{
    QStringList memberStatuses;
    QStringList churchStatuses;
    QList<std::pair<QComboBox*, NamedIds>> classes;
    {
        BusyCursor busy;
        LookupStore lookups(context().db());
        memberStatuses = lookups.texts(LookupList::MemberStatuses);
        churchStatuses = lookups.texts(LookupList::ChurchStatuses);
        classes = {{m_ssClass, lookups.classes(ClassKind::SundaySchool)},
                   {m_discClass, lookups.classes(ClassKind::DiscipleshipTraining)},
                   {m_wedClass, lookups.classes(ClassKind::WednesdayNight)}};
    }
    Controls::refillAll({{m_status, memberStatuses},
                         {m_churchStatus, churchStatuses},
                         {m_attended, longNames()},
                         {m_missed, longNames()}},
                        classes, keepChoices);
}

AttendanceSearchCriteria AttendanceNavigatorScreen::criteria() const
{
    AttendanceSearchCriteria c;
    c.name = m_name->text();
    c.memberStatus = m_status->currentText();
    c.churchStatus = m_churchStatus->currentText();
    c.sundaySchoolClass = PairedList::selectedId(m_ssClass);
    c.discipleshipClass = PairedList::selectedId(m_discClass);
    c.wednesdayClass = PairedList::selectedId(m_wedClass);
    c.attendedCategory = chosenCategory(m_attended);
    c.attendedDay = m_attendDay->date();
    c.missedCategory = chosenCategory(m_missed);
    c.missedText = m_missedCount->text();
    c.missedFrom = m_start->date();
    c.missedTo = m_end->date();
    return c;
}

void AttendanceNavigatorScreen::refuse(const QString& message, QWidget* field)
{
    showMessage(message, MessageStyle::Warning, AttendanceNavigatorStore::checkTitle());
    field->setFocus();
}

bool AttendanceNavigatorScreen::findPeople()
{
    if (!Controls::acceptEntries(this)) {
        return false;
    }
    const AttendanceSearchCriteria c = criteria();
    if (AttendanceNavigatorStore::missedApplies(c)) {
        if (const QString problem = AttendanceNavigatorStore::checkMissedCount(c.missedText); !problem.isEmpty()) {
            refuse(problem, m_missedCount);
            return false;
        }
        if (const QString problem = AttendanceNavigatorStore::checkPeriod(c.missedFrom, c.missedTo);
            !problem.isEmpty()) {
            refuse(problem, m_start);
            return false;
        }
    }
    model()->setRows(AttendanceNavigatorStore(context().db()).find(c));
    // The grid shows four of the result's columns.
    for (int column = 0; column < MemberGridModel::ColumnCount; ++column) {
        const bool shown = column == MemberGridModel::IdColumn || column == MemberGridModel::NameColumn ||
                           column == MemberGridModel::StatusColumn || column == MemberGridModel::MemberStatusColumn;
        resultGrid()->setColumnHidden(column, !shown);
    }
    return true;
}

QString AttendanceNavigatorScreen::countCaption(int count) const
{
    return tr("Names - Matching Records: %1").arg(count);
}

void AttendanceNavigatorScreen::setDatesToToday()
{
    const QDate today = context().clock().today();
    for (DateBox* date : {m_attendDay, m_start, m_end}) {
        date->setDate(today);
    }
}

void AttendanceNavigatorScreen::clearCriteria()
{
    m_name->clear();
    m_missedCount->clear();
    setDatesToToday();
    for (QComboBox* list : {m_status, m_churchStatus, m_ssClass, m_discClass, m_wedClass, m_attended, m_missed}) {
        list->setCurrentIndex(-1);
    }
    // The count caption stays.
    model()->clear();
}

bool AttendanceNavigatorScreen::readyToPrint(PeopleReport report)
{
    if (report != PeopleReport::AttendanceCount) {
        return true;
    }
    if (!Controls::acceptEntries(this)) {
        return false;
    }
    if (const QString problem = AttendanceNavigatorStore::checkPeriod(m_start->date(), m_end->date());
        !problem.isEmpty()) {
        refuse(problem, m_start);
        return false;
    }
    return true;
}

PeopleReportRequest AttendanceNavigatorScreen::printRequest(PeopleReport report) const
{
    return {report, model()->memberIds(), m_start->date(), m_end->date()};
}
