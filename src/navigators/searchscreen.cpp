#include "navigators/searchscreen.h"

#include "navigators/labelchoice.h"
#include "services/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

SearchScreen::SearchScreen(AppContext& context, MemberGridModel::Layout layout, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_model(new MemberGridModel(this, layout))
    , m_criteriaFrame(Controls::frame(this, QStringLiteral("Frame1"), tr("Search Criteria")))
    , m_criteriaLayout(new QGridLayout(m_criteriaFrame))
{
    auto* screenLayout = new QVBoxLayout(this);
    screenLayout->addWidget(m_criteriaFrame);
    followRollChanges();
    connect(m_model, &MemberGridModel::fetchFailed, this, [this](const QString& message) {
        showMessage(tr("The rest of the list could not be read: %1").arg(message), MessageStyle::Critical,
                    tr("Database Error"));
    });
}

SearchScreen::~SearchScreen() = default;

QSize SearchScreen::sizeHint() const
{
    return searchScreenSize(this, QWidget::sizeHint());
}

void SearchScreen::finishControls(int buttonsRow, int columns, const QString& resultTitle,
                                  const QList<PrintButton>& prints)
{
    QList<std::pair<QString, QString>> captions;
    for (const PrintButton& print : prints) {
        captions.append({print.name, print.caption});
    }
    const Controls::SearchButtons buttons = Controls::searchButtons(m_criteriaFrame, captions);
    for (int i = 0; i < prints.size(); ++i) {
        if (prints.at(i).report == PeopleReport::MailingLabels) {
            m_labelPerHousehold = addHouseholdLabelChoice(buttons.row, buttons.prints.at(i));
        }
    }
    m_criteriaLayout->addLayout(buttons.row, buttonsRow, 0, 1, columns);

    m_resultFrame = Controls::frame(this, QStringLiteral("Frame2"), resultTitle);
    m_grid = Controls::resultGrid(m_resultFrame, QStringLiteral("vsfgMembers"));
    m_grid->setModel(m_model);
    (new QVBoxLayout(m_resultFrame))->addWidget(m_grid);
    qobject_cast<QVBoxLayout*>(layout())->addWidget(m_resultFrame, 1);

    const QString findText = buttons.find->text();
    Guard::connect(buttons.find, &QPushButton::clicked, this, findText, [this] { updateGrids(); });
    auto* findShortcut = new QShortcut(QKeySequence::Find, this);
    Guard::connect(findShortcut, &QShortcut::activated, this, findText, [this] { updateGrids(); });
    connect(buttons.clear, &QPushButton::clicked, this, [this] { clearCriteria(); });
    connect(buttons.exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    for (int i = 0; i < prints.size(); ++i) {
        QPushButton* button = buttons.prints.at(i);
        const PrintButton print = prints.at(i);
        Guard::connect(button, &QPushButton::clicked, this, button->text(),
                       [this, print] { this->print(print.report, print.permission); });
        if (i == 0) {
            auto* printShortcut = new QShortcut(QKeySequence::Print, this);
            Guard::connect(printShortcut, &QShortcut::activated, this, button->text(),
                           [this, print] { this->print(print.report, print.permission); });
        }
    }
    Guard::connect(m_grid, &QTableView::doubleClicked, this, tr("Show the person"), [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit m_context.requests().showMember(m_model->memberId(index.row()));
        }
    });
}

void SearchScreen::findOnEnter(std::initializer_list<QLineEdit*> boxes)
{
    for (QLineEdit* box : boxes) {
        Guard::connect(box, &QLineEdit::returnPressed, this, tr("&Find"), [this] { updateGrids(); });
    }
}

bool SearchScreen::updateGrids()
{
    {
        BusyCursor busy;
        if (!findPeople()) {
            return false;
        }
        Controls::fitColumnsToLongest(m_grid, [this](int column) { return m_model->longestRow(column); });
    }
    showCount();
    return true;
}

void SearchScreen::showResult(const QString& caption)
{
    Controls::fitColumnsToLongest(m_grid, [this](int column) { return m_model->longestRow(column); });
    m_resultFrame->setTitle(caption);
}

void SearchScreen::showCount()
{
    m_resultFrame->setTitle(countCaption(m_model->matchCount()));
}

bool SearchScreen::readyToPrint(PeopleReport)
{
    return true;
}

PeopleReportRequest SearchScreen::printRequest(PeopleReport report) const
{
    return {report, m_model->memberIds(), {}, {}};
}

void SearchScreen::print(PeopleReport report, Permission permission)
{
    if (!checkPermission(m_context, permission, Refusal::Report) || !readyToPrint(report)) {
        return;
    }
    if (m_model->matchCount() == 0) {
        emit m_context.requests().showStatus(tr("Nothing to print"));
        return;
    }
    if (report == PeopleReport::MailingLabels && m_labelPerHousehold && m_labelPerHousehold->isChecked()) {
        report = PeopleReport::HouseholdLabels;
    }
    emit m_context.requests().printPeople(printRequest(report));
}

void SearchScreen::followRollChanges()
{
    // Virtual calls: the subclass is complete by the time a change arrives.
    ChangeNotifier& changes = m_context.changes();
    const QString refill = tr("Refill the search lists");
    Guard::connect(&changes, &ChangeNotifier::memberSaved, this, refill, [this](qint64 memberId) {
        refillLists(true);
        m_model->followSaved(m_context.db(), memberId);
    });
    Guard::connect(&changes, &ChangeNotifier::memberDeleted, this, refill, [this](qint64 memberId) {
        refillLists(true);
        if (m_model->removeMember(memberId)) {
            showCount();
        }
    });
    Guard::connect(&changes, &ChangeNotifier::listValuesChanged, this, refill, [this] { refillLists(true); });
}
