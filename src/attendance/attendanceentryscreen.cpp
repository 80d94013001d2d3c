#include "attendance/attendanceentryscreen.h"

#include "attendance/attendanceentrymodel.h"
#include "core/textformat.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
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

QString caption(const char* text)
{
    return QCoreApplication::translate("AttendanceEntryScreen", text);
}

} // namespace

AttendanceEntryScreen::AttendanceEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_model(new AttendanceEntryModel(this))
{
    setWindowTitle(tr("Attendance Entry/Edit"));
    buildControls();
    UnsavedChanges::guardClose(this, *this);

    ChangeNotifier& changes = m_context.changes();
    // A person deleted elsewhere leaves the grid, so a later Save cannot write rows for him again.
    connect(&changes, &ChangeNotifier::memberDeleted, this, [this](qint64 memberId) {
        if (m_model->removeMember(memberId)) {
            resizeColumns();
        }
    });
    const QString refill = tr("Refill the search lists");
    Guard::connect(&changes, &ChangeNotifier::listValuesChanged, this, refill, [this] {
        LookupStore lookups(m_context.db());
        Controls::refill(m_ssClass, lookups.classes(ClassKind::SundaySchool));
        Controls::refill(m_discClass, lookups.classes(ClassKind::DiscipleshipTraining));
        Controls::refill(m_wedClass, lookups.classes(ClassKind::WednesdayNight));
    });

    loadSearchValues();
}

AttendanceEntryScreen::~AttendanceEntryScreen() = default;

QSize AttendanceEntryScreen::sizeHint() const
{
    return searchScreenSize(this, QWidget::sizeHint());
}

void AttendanceEntryScreen::buildControls()
{
    m_criteriaFrame = Controls::frame(this, QStringLiteral("Frame1"), tr("Search Criteria"));
    auto* grid = new QGridLayout(m_criteriaFrame);

    m_weekOf = Controls::datePicker(m_criteriaFrame, QStringLiteral("dtWeekOf"));
    m_name = new QLineEdit(m_criteriaFrame);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_status = Controls::pickList(m_criteriaFrame, QStringLiteral("cmbStatus"));
    m_churchStatus = Controls::pickList(m_criteriaFrame, QStringLiteral("cmbChurchStatus"));
    m_ssClass = Controls::pickList(m_criteriaFrame, QStringLiteral("cmbSSClass"));
    m_discClass = Controls::pickList(m_criteriaFrame, QStringLiteral("cmbDiscClass"));
    m_wedClass = Controls::pickList(m_criteriaFrame, QStringLiteral("cmbWedClass"));

    const int buttonsRow = Controls::addLabelledFields(grid,
                                                       {
                                                           {tr("Week Of"), m_weekOf},
                                                           {tr("Name"), m_name},
                                                           {tr("Member Status"), m_status},
                                                           {tr("Church Status"), m_churchStatus},
                                                           {tr("SS Class"), m_ssClass},
                                                           {tr("Disc Class"), m_discClass},
                                                           {tr("Wed Class"), m_wedClass},
                                                       },
                                                       4);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const char* text) {
        auto* b = new QPushButton(caption(text), m_criteriaFrame);
        b->setObjectName(QString::fromUtf8(name));
        buttons->addWidget(b);
        return b;
    };
    QPushButton* find = button("btnFind", QT_TR_NOOP("&Find"));
    QPushButton* clear = button("btnClear", QT_TR_NOOP("&Clear"));
    QPushButton* saveButton = button("btnSave", QT_TR_NOOP("&Save"));
    QPushButton* exit = button("btnExit", QT_TR_NOOP("E&xit"));
    buttons->addStretch();
    // The week a save records, whichever day of it was picked.
    m_pickedWeek = Controls::label(m_criteriaFrame, {}, QStringLiteral("lblWeekOf"));
    buttons->addWidget(m_pickedWeek);
    grid->addLayout(buttons, buttonsRow, 0, 1, 4 * 2);

    m_gridFrame = Controls::frame(this, QStringLiteral("Frame2"), tr("Names"));
    m_grid = Controls::grid(m_gridFrame, QStringLiteral("vsfgMembers"));
    m_grid->setModel(m_model);
    // Only the boxes change: a click on one or Space on the current one ticks it.
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->horizontalHeader()->setMinimumHeight(2 * m_grid->fontMetrics().height() + 8);
    m_totals = Controls::label(m_gridFrame, {}, QStringLiteral("lblTotals"));
    auto* gridLayout = new QVBoxLayout(m_gridFrame);
    gridLayout->addWidget(m_grid, 1);
    gridLayout->addWidget(m_totals);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_criteriaFrame);
    layout->addWidget(m_gridFrame, 1);

    for (QComboBox* list : {m_status, m_churchStatus, m_ssClass, m_discClass, m_wedClass}) {
        attachTypeAhead(list, m_context);
    }

    const QString findText = find->text();
    Guard::connect(find, &QPushButton::clicked, this, findText, [this] { updateGrids(); });
    Guard::connect(m_name, &QLineEdit::returnPressed, this, findText, [this] { updateGrids(); });
    auto* findShortcut = new QShortcut(QKeySequence::Find, this);
    Guard::connect(findShortcut, &QShortcut::activated, this, findText, [this] { updateGrids(); });
    Guard::connect(clear, &QPushButton::clicked, this, clear->text(), [this] { clearCriteria(); });
    Guard::connect(saveButton, &QPushButton::clicked, this, saveButton->text(), [this] { save(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    Guard::connect(m_grid, &QTableView::doubleClicked, this, tr("Show the person"), [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit m_context.requests().showMember(m_model->memberId(index.row()));
        }
    });
    connect(m_model, &AttendanceEntryModel::marksChanged, this, &AttendanceEntryScreen::showTotals);
    connect(m_weekOf, &DateBox::dateChanged, this, &AttendanceEntryScreen::showPickedWeek);
}

void AttendanceEntryScreen::loadSearchValues()
{
    {
        BusyCursor busy;
        LookupStore lookups(m_context.db());
        Controls::refill(m_status, lookups.texts(LookupList::MemberStatuses));
        Controls::refill(m_churchStatus, lookups.texts(LookupList::ChurchStatuses));
        Controls::refill(m_ssClass, lookups.classes(ClassKind::SundaySchool));
        Controls::refill(m_discClass, lookups.classes(ClassKind::DiscipleshipTraining));
        Controls::refill(m_wedClass, lookups.classes(ClassKind::WednesdayNight));
    }
    for (QComboBox* list : {m_status, m_churchStatus, m_ssClass, m_discClass, m_wedClass}) {
        list->setCurrentIndex(-1);
    }
    m_model->clear();
    m_weekOf->setDate(m_context.clock().today());
    showPickedWeek();
}

AttendanceEntryCriteria AttendanceEntryScreen::criteria() const
{
    AttendanceEntryCriteria c;
    c.day = m_weekOf->date();
    c.name = m_name->text();
    c.memberStatus = m_status->currentText();
    c.churchStatus = m_churchStatus->currentText();
    c.sundaySchoolClass = PairedList::selectedId(m_ssClass);
    c.discipleshipClass = PairedList::selectedId(m_discClass);
    c.wednesdayClass = PairedList::selectedId(m_wedClass);
    return c;
}

void AttendanceEntryScreen::showWeek(const QDate& day)
{
    m_weekOf->setDate(day);
    updateGrids();
}

void AttendanceEntryScreen::updateGrids()
{
    if (!m_weekOf->commit() || !UnsavedChanges::mayLeave(*this)) {
        return;
    }
    BusyCursor busy;
    m_model->setWeek(AttendanceStore(m_context.db()).find(criteria()));
    hideSwitchedColumns();
    resizeColumns();
}

bool AttendanceEntryScreen::save()
{
    if (!m_model->hasHeader() || m_model->rowCount() == 0 || !m_weekOf->commit()) {
        return false;
    }
    const QDate target = AttendanceWeek::sundayOf(m_weekOf->date());
    const bool otherWeek = target != m_model->week();
    if (otherWeek && showMessage(AttendanceStore::otherWeekQuestion(m_model->week(), target), MessageStyle::YesNo,
                                 AttendanceStore::otherWeekTitle()) != MessageAnswer::Yes) {
        return false;
    }
    AttendanceStore store(m_context.db());
    AttendanceSaveResult result;
    {
        BusyCursor busy;
        // In the listed week the hidden columns write back the marks they were listed with; in another week
        // they keep that week's own stored marks, which nobody saw.
        result = store.saveWeek(target, m_model->saveRows(), otherWeek ? hiddenColumns() : AttendanceColumns{});
    }
    for (const qint64 gone : result.missingPeople) {
        m_model->removeMember(gone);
    }
    emit m_context.requests().showStatus(
        tr("Saved the week of Sunday %1: %n people changed", nullptr, result.peopleChanged).arg(shortDate(target)));
    if (!otherWeek) {
        m_model->marksSaved();
    } else {
        // The week written to becomes the listed one, with its stored marks in the hidden columns.
        BusyCursor busy;
        AttendanceEntryCriteria c = criteria();
        c.day = target;
        m_model->setWeek(store.find(c));
        hideSwitchedColumns();
        resizeColumns();
    }
    return true;
}

AttendanceColumns AttendanceEntryScreen::hiddenColumns() const
{
    AttendanceColumns hidden{};
    for (int i = 0; i < AttendanceWeek::kCategoryCount; ++i) {
        hidden.at(size_t(i)) = !m_context.config().showsAttendanceColumn(i);
    }
    return hidden;
}

void AttendanceEntryScreen::hideSwitchedColumns()
{
    const AttendanceColumns hidden = hiddenColumns();
    for (int i = 0; i < AttendanceWeek::kCategoryCount; ++i) {
        m_grid->setColumnHidden(i, hidden.at(size_t(i)));
    }
}

void AttendanceEntryScreen::resizeColumns()
{
    // Sized by the header and the longest text of each column rather than by measuring every row.
    const QFontMetrics metrics = m_grid->fontMetrics();
    QHeaderView* header = m_grid->horizontalHeader();
    constexpr int kPadding = 16;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        int width = header->sectionSizeHint(column);
        if (column >= AttendanceEntryModel::IdColumn) {
            int longest = 0;
            for (int row = 0; row < m_model->rowCount(); ++row) {
                longest = qMax(longest, int(m_model->data(m_model->index(row, column)).toString().size()));
            }
            width = qMax(width, metrics.horizontalAdvance(QLatin1Char('W')) * longest * 3 / 4 + kPadding);
        }
        header->resizeSection(column, width);
    }
}

QString AttendanceEntryScreen::totalsText() const
{
    if (!m_model->hasHeader()) {
        return {};
    }
    const AttendanceCounts counts = AttendanceStore::totals(m_model->rows());
    const AttendanceColumns hidden = hiddenColumns();
    QStringList parts;
    for (int i = 0; i < AttendanceWeek::kCategoryCount; ++i) {
        if (!hidden.at(size_t(i))) {
            parts << tr("%1 %2").arg(AttendanceWeek::category(i).longName).arg(counts.at(size_t(i)));
        }
    }
    return tr("Totals of %n listed: %1", nullptr, m_model->rowCount()).arg(parts.join(QStringLiteral(", ")));
}

void AttendanceEntryScreen::showTotals()
{
    m_totals->setText(totalsText());
}

bool AttendanceEntryScreen::hasUnsavedChanges() const
{
    return m_model->hasChangedMarks();
}

QString AttendanceEntryScreen::recordName() const
{
    return tr("the attendance of the week of %1").arg(shortDate(m_model->week()));
}

QString AttendanceEntryScreen::saveQuestion() const
{
    return tr("Save the attendance of the week of %1?").arg(shortDate(m_model->week()));
}

bool AttendanceEntryScreen::saveRecord()
{
    return save();
}

void AttendanceEntryScreen::showPickedWeek()
{
    m_pickedWeek->setText(tr("Week of Sunday %1").arg(shortDate(AttendanceWeek::sundayOf(m_weekOf->date()))));
}

void AttendanceEntryScreen::clearCriteria()
{
    if (!UnsavedChanges::mayLeave(*this)) {
        return;
    }
    m_name->clear();
    m_weekOf->setDate(m_context.clock().today());
    for (QComboBox* list : {m_status, m_churchStatus, m_ssClass, m_discClass, m_wedClass}) {
        list->setCurrentIndex(-1);
    }
    m_model->clear();
}
