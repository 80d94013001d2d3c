#include "outreach/outreachphaseentryscreen.h"

#include "data/databaseerror.h"
#include "outreach/outreachplanmodel.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

namespace {

// Edits the plan's cells: the name typed (at most 50 characters), the action picked from the prospect
// actions, the weeks typed. Every change reaches the model at once, so Save And Close (also by its key)
// sees the cell being edited.
class PhaseDelegate final : public QStyledItemDelegate
{
public:
    PhaseDelegate(std::function<QStringList()> actions, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_actions(std::move(actions))
    {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        // The editor's signals are the delegate's to give, also from this const function of the base.
        auto* self = const_cast<PhaseDelegate*>(this);
        // Escape in the cell takes back what was typed there (the model has it already).
        auto* model = const_cast<QAbstractItemModel*>(index.model());
        const QPersistentModelIndex cell(index);
        const QVariant original = index.data(Qt::EditRole);
        auto revertOnEscape = [self, model, cell, original](QWidget* editor) {
            connect(self, &QAbstractItemDelegate::closeEditor, editor,
                    [editor, model, cell, original](QWidget* closed, QAbstractItemDelegate::EndEditHint hint) {
                        if (closed == editor && hint == QAbstractItemDelegate::RevertModelCache && cell.isValid()) {
                            model->setData(cell, original);
                        }
                    });
        };
        if (index.column() == OutreachPlanModel::ActionColumn) {
            auto* list = Controls::pickList(parent, QStringLiteral("cmbPhaseAction"));
            // A stored action no longer offered stays selectable for its phase.
            QStringList actions = m_actions();
            const QString current = index.data(Qt::EditRole).toString();
            if (!current.isEmpty() && !actions.contains(current)) {
                actions.prepend(current);
            }
            list->addItems(actions);
            revertOnEscape(list);
            connect(list, &QComboBox::activated, self, [self, list] {
                emit self->commitData(list);
                emit self->closeEditor(list);
            });
            return list;
        }
        auto* box =
            Controls::lineEdit(parent,
                               index.column() == OutreachPlanModel::NameColumn ? QStringLiteral("txtPhaseName")
                                                                               : QStringLiteral("txtPhaseWeeks"),
                               index.column() == OutreachPlanModel::NameColumn ? Controls::kTextLength : 0);
        box->setAlignment(Qt::AlignCenter);
        revertOnEscape(box);
        connect(box, &QLineEdit::textChanged, self, [self, box] { emit self->commitData(box); });
        return box;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            list->setCurrentIndex(list->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        } else if (auto* box = qobject_cast<QLineEdit*>(editor); box != nullptr && box->text() != text) {
            // Left alone while it holds the text already, so the cursor stays where the user types; the text
            // set here is the model's, nothing to write back.
            const QSignalBlocker blocker(box);
            box->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            if (list->currentIndex() >= 0) {
                model->setData(index, list->currentText());
            }
        } else if (auto* box = qobject_cast<QLineEdit*>(editor)) {
            model->setData(index, box->text());
        }
    }

private:
    std::function<QStringList()> m_actions;
};

} // namespace

OutreachPhaseEntryScreen::OutreachPhaseEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db())
{
    setWindowTitle(tr("Outreach Phase Entry"));
    buildControls();
    UnsavedChanges::guardClose(this, *this);
    const BusyCursor busy;
    fillActions();
    loadPlan();
}

OutreachPhaseEntryScreen::~OutreachPhaseEntryScreen() = default;

void OutreachPhaseEntryScreen::buildControls()
{
    m_model = new OutreachPlanModel(this);
    m_grid = Controls::grid(this, QStringLiteral("vsfgPhase"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_grid->setItemDelegate(new PhaseDelegate([this] { return m_actions; }, m_grid));
    m_grid->horizontalHeader()->setSectionResizeMode(OutreachPlanModel::NameColumn, QHeaderView::Stretch);
    m_grid->setMinimumSize(420, 220);

    // Arrows on the buttons; their old captions stay as the names a screen reader (and a test) finds them by.
    const auto arrowButton = [this](const QString& name, const QString& caption, QStyle::StandardPixmap arrow) {
        QPushButton* button = Controls::button(this, name, QString());
        button->setIcon(style()->standardIcon(arrow, nullptr, button));
        button->setAccessibleName(caption);
        return button;
    };
    auto* up = arrowButton(QStringLiteral("btnMoveUp"), QStringLiteral("/\\"), QStyle::SP_ArrowUp);
    auto* down = arrowButton(QStringLiteral("btnMoveDown"), QStringLiteral("\\/"), QStyle::SP_ArrowDown);
    up->setToolTip(tr("Move the phase up (Alt+Up)"));
    down->setToolTip(tr("Move the phase down (Alt+Down)"));
    up->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    down->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch();
    auto* planRow = new QHBoxLayout;
    planRow->addWidget(m_grid, 1);
    planRow->addLayout(moves);

    auto* add = Controls::button(this, QStringLiteral("btnAddPhase"), tr("&Add Phase"));
    auto* remove = Controls::button(this, QStringLiteral("btnDelete"), tr("&Delete Phase"));
    auto* editing = new QHBoxLayout;
    editing->addWidget(add);
    editing->addWidget(remove);
    editing->addStretch();

    auto* note = Controls::label(this,
                                 tr("Make all changes before clicking Save and Close. Any phases that are deleted "
                                    "will affect Prospect Current Phases."),
                                 QStringLiteral("Label1"));
    note->setWordWrap(true);

    auto* save = Controls::button(this, QStringLiteral("btnSave"), tr("&Save And Close"));
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    save->setShortcut(QKeySequence::Save);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(planRow, 1);
    layout->addLayout(editing);
    layout->addWidget(note);
    layout->addLayout(Controls::buttonRow({save, exit}));
    setMinimumWidth(520);

    Guard::connect(up, &QPushButton::clicked, this, tr("Move the phase up"), [this] { move(-1); });
    Guard::connect(down, &QPushButton::clicked, this, tr("Move the phase down"), [this] { move(1); });
    Guard::connect(add, &QPushButton::clicked, this, tr("Add a phase"), [this] { addPhase(); });
    Guard::connect(remove, &QPushButton::clicked, this, tr("Delete the phase"), [this] { deletePhase(); });
    Guard::connect(save, &QPushButton::clicked, this, tr("Save the outreach plan"), [this] { saveAndClose(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    // A prospect action added or removed on another screen is offered (or not) from the next cell edited.
    Guard::connect(&m_context.changes(), &ChangeNotifier::listValuesChanged, this, tr("Refill the actions"),
                   [this] { fillActions(); });
    // An action renamed or deleted elsewhere was renamed or emptied in the stored plan too: the phases on screen
    // follow, so a later save keeps the new text (or asks for an action). It is no edit of the user's.
    Guard::connect(&m_context.changes(), &ChangeNotifier::listEntryChanged, this, tr("Refill the actions"),
                   [this](LookupList list, const QString& from, const QString& to) {
                       if (list == LookupList::ProspectActions) {
                           followRename(from, to);
                       }
                   });
}

void OutreachPhaseEntryScreen::fillActions()
{
    m_actions = LookupStore(m_context.db()).texts(LookupList::ProspectActions);
}

void OutreachPhaseEntryScreen::loadPlan()
{
    m_loaded = m_store.load();
    m_model->setPlan(m_loaded);
    m_shown = m_model->phases();
    m_grid->resizeColumnsToContents();
    // The action column is wider than its entries, so the drop-down shows them whole.
    m_grid->setColumnWidth(OutreachPlanModel::ActionColumn,
                           std::max(m_grid->columnWidth(OutreachPlanModel::ActionColumn), 140));
}

void OutreachPhaseEntryScreen::followRename(const QString& from, const QString& to)
{
    const QString key = from.toLower();
    m_model->renameAction(from, to);
    for (TypedPhase& phase : m_shown) {
        if (!phase.action.isEmpty() && phase.action.toLower() == key) {
            phase.action = to;
        }
    }
    for (OutreachPhase& phase : m_loaded) {
        if (!phase.action.isEmpty() && phase.action.toLower() == key) {
            phase.action = to;
        }
    }
}

int OutreachPhaseEntryScreen::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void OutreachPhaseEntryScreen::selectPhase(int row, int column)
{
    m_grid->setCurrentIndex(m_model->index(row, column));
    m_grid->selectionModel()->select(QItemSelection(m_model->index(row, OutreachPlanModel::NameColumn),
                                                    m_model->index(row, OutreachPlanModel::WeeksColumn)),
                                     QItemSelectionModel::ClearAndSelect);
}

void OutreachPhaseEntryScreen::addPhase()
{
    const int row = m_model->addPhase();
    m_grid->setCurrentIndex(m_model->index(row, OutreachPlanModel::NameColumn));
    m_grid->setFocus();
    m_grid->edit(m_grid->currentIndex());
}

void OutreachPhaseEntryScreen::deletePhase()
{
    const int row = currentRow();
    if (row < 0) {
        return;
    }
    const QString question = tr("Are you sure you want to remove Phase %1?").arg(row + 1);
    if (showMessage(question, MessageStyle::YesNo, tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    m_model->removePhase(row);
    if (m_model->rowCount() > 0) {
        m_grid->setCurrentIndex(m_model->index(std::min(row, m_model->rowCount() - 1), OutreachPlanModel::OrderColumn));
    }
}

void OutreachPhaseEntryScreen::move(int step)
{
    const int row = currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_model->rowCount()) {
        return;
    }
    m_model->exchange(row, target);
    // The moved phase stays selected, so the next click moves it again.
    selectPhase(target, std::max(int(OutreachPlanModel::NameColumn), m_grid->currentIndex().column()));
}

bool OutreachPhaseEntryScreen::hasUnsavedChanges() const
{
    const QList<TypedPhase> phases = m_model->phases();
    if (phases.size() != m_shown.size()) {
        return true;
    }
    for (int i = 0; i < phases.size(); ++i) {
        const TypedPhase& a = phases.at(i);
        const TypedPhase& b = m_shown.at(i);
        if (a.name != b.name || a.action != b.action || a.weeks != b.weeks) {
            return true;
        }
    }
    return false;
}

QString OutreachPhaseEntryScreen::recordName() const
{
    return tr("the outreach plan");
}

bool OutreachPhaseEntryScreen::saveRecord()
{
    const auto read = OutreachPlanStore::read(m_model->phases());
    std::optional<PlanRefusal> refusal;
    int moved = 0;
    if (const auto* bad = std::get_if<PlanRefusal>(&read)) {
        refusal = *bad;
    } else {
        try {
            refusal = m_store.save(m_loaded, std::get<OutreachPlan>(read), &moved);
        } catch (const DatabaseError& error) {
            // Nothing was written; the plan stays on screen as edited.
            Guard::showDatabaseError(tr("Save the outreach plan"), error);
            return false;
        }
    }
    if (refusal) {
        showMessage(refusal->message, MessageStyle::Plain, refusal->title);
        selectPhase(refusal->position - 1, OutreachPlanModel::NameColumn);
        m_grid->setFocus();
        return false;
    }
    m_loaded = std::get<OutreachPlan>(read);
    m_shown = m_model->phases();
    // Open screens refill their phase lists.
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(
        tr("Saved the outreach plan; %n prospect(s) moved to another phase", "", moved));
    return true;
}

void OutreachPhaseEntryScreen::saveAndClose()
{
    if (saveRecord()) {
        closeScreen(this);
    }
}
