#include "attendance/attendancenavigatorscreen.h"

#include "navigators/membergridmodel.h"
#include "shell/appcontext.h"
#include "shell/attendanceweek.h"
#include "shell/lookupstore.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
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
    : QWidget(parent)
    , m_context(context)
    , m_model(new MemberGridModel(this))
{
    setWindowTitle(tr("Attendance Navigator"));
    buildControls();
    ChangeNotifier& changes = m_context.changes();
    connect(&changes, &ChangeNotifier::memberDeleted, this, [this](qint64 memberId) {
        if (m_model->removeMember(memberId)) {
            showCount();
        }
    });
    loadSearchValues();
}

AttendanceNavigatorScreen::~AttendanceNavigatorScreen() = default;

QSize AttendanceNavigatorScreen::sizeHint() const
{
    return searchScreenSize(this, QWidget::sizeHint());
}

void AttendanceNavigatorScreen::buildControls()
{
    m_criteriaFrame = Controls::frame(this, QStringLiteral("Frame1"), tr("Search Criteria"));
    auto* grid = new QGridLayout(m_criteriaFrame);

    m_name = new QLineEdit(m_criteriaFrame);
    m_name->setObjectName(QStringLiteral("txtName"));
    const auto pickList = [this](const char* name) {
        return Controls::pickList(m_criteriaFrame, QString::fromUtf8(name));
    };
    m_status = pickList("cmbStatus");
    m_churchStatus = pickList("cmbChurchStatus");
    m_ssClass = pickList("cmbSSClass");
    m_discClass = pickList("cmbDiscClass");
    m_wedClass = pickList("cmbWedClass");
    m_attended = pickList("cmbClass2");
    m_missed = pickList("cmbClass");
    m_attendDay = Controls::datePicker(m_criteriaFrame, QStringLiteral("dtAttend"));
    m_missedCount = new QLineEdit(m_criteriaFrame);
    m_missedCount->setObjectName(QStringLiteral("txtMissed"));
    m_missedCount->setMaxLength(3);
    m_missedCount->setMaximumWidth(m_missedCount->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    m_start = Controls::datePicker(m_criteriaFrame, QStringLiteral("dtStart"));
    m_end = Controls::datePicker(m_criteriaFrame, QStringLiteral("dtEnd"));

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

    auto* attendedLabel = new QLabel(tr("Attended"), m_criteriaFrame);
    attendedLabel->setBuddy(m_attended);
    auto* attendedRow = new QHBoxLayout;
    attendedRow->addWidget(m_attended);
    attendedRow->addWidget(new QLabel(tr("Week of"), m_criteriaFrame));
    attendedRow->addWidget(m_attendDay);
    attendedRow->addStretch();
    grid->addWidget(attendedLabel, row, 0, Qt::AlignRight);
    grid->addLayout(attendedRow, row, 1, 1, 3 * 2 - 1);
    ++row;

    auto* missedLabel = new QLabel(tr("Missed"), m_criteriaFrame);
    missedLabel->setBuddy(m_missed);
    auto* missedRow = new QHBoxLayout;
    missedRow->addWidget(m_missed);
    missedRow->addWidget(m_missedCount);
    missedRow->addWidget(new QLabel(tr("or more"), m_criteriaFrame));
    missedRow->addWidget(new QLabel(tr("between"), m_criteriaFrame));
    missedRow->addWidget(m_start);
    missedRow->addWidget(new QLabel(tr("and"), m_criteriaFrame));
    missedRow->addWidget(m_end);
    missedRow->addStretch();
    grid->addWidget(missedLabel, row, 0, Qt::AlignRight);
    grid->addLayout(missedRow, row, 1, 1, 3 * 2 - 1);
    ++row;

    const Controls::SearchButtons buttons =
        Controls::searchButtons(m_criteriaFrame, {{QStringLiteral("btnPrintList"), tr("Print &List")},
                                                  {QStringLiteral("btnPrintMissed"), tr("Print C&ount")}});
    QPushButton* find = buttons.find;
    QPushButton* clear = buttons.clear;
    QPushButton* exit = buttons.exit;
    QPushButton* printList = buttons.prints.at(0);
    QPushButton* printCount = buttons.prints.at(1);
    grid->addLayout(buttons.row, row, 0, 1, 3 * 2);

    m_gridFrame = Controls::frame(this, QStringLiteral("Frame2"), tr("Names"));
    m_grid = Controls::grid(m_gridFrame, QStringLiteral("vsfgMembers"));
    m_grid->setModel(m_model);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    auto* gridLayout = new QVBoxLayout(m_gridFrame);
    gridLayout->addWidget(m_grid);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_criteriaFrame);
    layout->addWidget(m_gridFrame, 1);

    // "Attended" has no type-ahead: its entries share their first letters.
    for (QComboBox* list : {m_status, m_churchStatus, m_ssClass, m_discClass, m_wedClass, m_missed}) {
        attachTypeAhead(list, m_context);
    }

    const QString findText = find->text();
    Guard::connect(find, &QPushButton::clicked, this, findText, [this] { updateGrids(); });
    for (QLineEdit* edit : {m_name, m_missedCount}) {
        Guard::connect(edit, &QLineEdit::returnPressed, this, findText, [this] { updateGrids(); });
    }
    auto* findShortcut = new QShortcut(QKeySequence::Find, this);
    Guard::connect(findShortcut, &QShortcut::activated, this, findText, [this] { updateGrids(); });
    connect(clear, &QPushButton::clicked, this, &AttendanceNavigatorScreen::clearCriteria);
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    Guard::connect(printList, &QPushButton::clicked, this, printList->text(), [this] { print(Report::MemberList); });
    Guard::connect(printCount, &QPushButton::clicked, this, printCount->text(),
                   [this] { print(Report::AttendanceCount); });
    Guard::connect(m_grid, &QTableView::doubleClicked, this, tr("Show the person"), [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit m_context.requests().showMember(m_model->memberId(index.row()));
        }
    });
}

void AttendanceNavigatorScreen::loadSearchValues()
{
    {
        BusyCursor busy;
        LookupStore lookups(m_context.db());
        Controls::refill(m_status, lookups.texts(LookupList::MemberStatuses));
        Controls::refill(m_churchStatus, lookups.texts(LookupList::ChurchStatuses));
        Controls::refill(m_ssClass, lookups.classes(ClassKind::SundaySchool));
        Controls::refill(m_discClass, lookups.classes(ClassKind::DiscipleshipTraining));
        Controls::refill(m_wedClass, lookups.classes(ClassKind::WednesdayNight));
        Controls::refill(m_attended, longNames());
        Controls::refill(m_missed, longNames());
    }
    for (QComboBox* list : {m_status, m_churchStatus, m_ssClass, m_discClass, m_wedClass, m_attended, m_missed}) {
        list->setCurrentIndex(-1);
    }
    m_model->clear();
    setDatesToToday();
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

bool AttendanceNavigatorScreen::updateGrids()
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
    {
        BusyCursor busy;
        m_model->setRows(AttendanceNavigatorStore(m_context.db()).find(c));
        for (int column = 0; column < MemberGridModel::ColumnCount; ++column) {
            const bool shown = column == MemberGridModel::IdColumn || column == MemberGridModel::NameColumn ||
                               column == MemberGridModel::StatusColumn || column == MemberGridModel::MemberStatusColumn;
            m_grid->setColumnHidden(column, !shown);
        }
        Controls::fitColumnsToLongest(m_grid, [this](int column) { return m_model->longestRow(column); });
    }
    showCount();
    return true;
}

void AttendanceNavigatorScreen::showCount()
{
    m_gridFrame->setTitle(tr("Names - Matching Records: %1").arg(m_model->matchCount()));
}

void AttendanceNavigatorScreen::setDatesToToday()
{
    const QDate today = m_context.clock().today();
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
    m_model->clear();
}

void AttendanceNavigatorScreen::print(Report report)
{
    if (!checkPermission(m_context, Permission::AttendanceNavigatorReport, Refusal::Report)) {
        return;
    }
    if (report == Report::AttendanceCount) {
        if (!Controls::acceptEntries(this)) {
            return;
        }
        if (const QString problem = AttendanceNavigatorStore::checkPeriod(m_start->date(), m_end->date());
            !problem.isEmpty()) {
            refuse(problem, m_start);
            return;
        }
    }
    if (m_model->matchCount() == 0) {
        emit m_context.requests().showStatus(tr("Nothing to print"));
        return;
    }
    emit reportRequested(report, m_model->memberIds(), m_start->date(), m_end->date());
}
