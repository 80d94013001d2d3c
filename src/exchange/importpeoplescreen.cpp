#include "exchange/importpeoplescreen.h"

#include "core/changenotifier.h"
#include "core/textformat.h"
#include "csv/csvfile.h"
#include "data/permission.h"
#include "exchange/importfields.h"
#include "exchange/importrowsmodel.h"
#include "services/appcontext.h"
#include "services/peoplemodel.h"
#include "services/permissions.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/filedialogs.h"
#include "widgets/griddropdown.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace Controls;

namespace {

QTableWidget* table(QWidget* parent, const QString& name, const QStringList& headings)
{
    auto* grid = new QTableWidget(0, int(headings.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->hide();
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// The values missing from their lists offered for a decision at most.
constexpr qsizetype kMostValuesShown = 500;

QString listName(LookupList list)
{
    for (const ImportFields::Field& field : ImportFields::all()) {
        if (field.list == list) {
            return field.label;
        }
    }
    return {};
}

} // namespace

ImportPeopleScreen::ImportPeopleScreen(AppContext& context, std::function<QString()> backupFirst, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_backupFirst(std::move(backupFirst))
{
    setWindowTitle(tr("Import People"));
    buildControls();
    showUndoState();
}

ImportPeopleScreen::~ImportPeopleScreen()
{
    // Stops the worker and waits for it before any control goes; what it was doing is dropped.
    m_taskDone = nullptr;
    m_task.reset();
    m_stopping.clear();
}

QSize ImportPeopleScreen::sizeHint() const
{
    const QSize size = searchScreenSize(this, QWidget::sizeHint());
    return {qMax(size.width(), 1100), size.height()};
}

void ImportPeopleScreen::buildControls()
{
    m_file = lineEdit(this, QStringLiteral("txtFile"));
    makeDisplayOnly(m_file);
    auto* choose = button(this, QStringLiteral("btnChooseFile"), tr("&Choose File…"));
    m_headings = checkBox(this, QStringLiteral("chkHeadings"), tr("First row holds &headings"));
    m_headings->setChecked(true);
    m_delimiter = pickList(this, QStringLiteral("cmbDelimiter"));
    m_delimiter->addItem(tr("Comma"), QStringLiteral(","));
    m_delimiter->addItem(tr("Semicolon"), QStringLiteral(";"));
    m_delimiter->addItem(tr("Tab"), QStringLiteral("\t"));
    m_byAddress = checkBox(this, QStringLiteral("chkHouseholdsByAddress"),
                           tr("Rows without a household: one household per last &name and address"));
    m_byAddressOnly = checkBox(this, QStringLiteral("chkHouseholdsByAddressOnly"),
                               tr("&Group every row by last name and address instead of the household column"));
    m_byAddressOnly->setEnabled(false);
    m_areaCode = lineEdit(this, QStringLiteral("txtAreaCode"));
    m_areaCode->setMaxLength(3);
    m_areaCode->setAccessibleName(tr("Area code for seven-digit phone numbers"));

    auto* top = new QGridLayout;
    top->addWidget(label(this, tr("File")), 0, 0);
    top->addWidget(m_file, 0, 1, 1, 3);
    top->addWidget(choose, 0, 4);
    top->addWidget(m_headings, 1, 1);
    top->addWidget(label(this, tr("Delimiter")), 1, 2, Qt::AlignRight);
    top->addWidget(m_delimiter, 1, 3);
    top->addWidget(m_byAddress, 2, 1, 1, 3);
    top->addWidget(m_byAddressOnly, 3, 1, 1, 3);
    auto* areaLabel = label(this, tr("Area c&ode for seven-digit phone numbers"));
    areaLabel->setBuddy(m_areaCode);
    top->addWidget(areaLabel, 4, 1, Qt::AlignRight);
    top->addWidget(m_areaCode, 4, 2);
    top->setColumnStretch(1, 1);

    auto* mappingFrame = frame(this, QStringLiteral("fraMapping"), tr("Columns"));
    m_mapping = table(mappingFrame, QStringLiteral("vsfgMapping"), {tr("Column"), tr("First value"), tr("Field")});
    (new QVBoxLayout(mappingFrame))->addWidget(m_mapping);
    auto* unknownFrame = frame(this, QStringLiteral("fraUnknown"), tr("Values not in their lists"));
    m_unknown = table(unknownFrame, QStringLiteral("vsfgUnknown"), {tr("List"), tr("Value"), tr("Rows"), tr("Do")});
    (new QVBoxLayout(unknownFrame))->addWidget(m_unknown);
    auto* upper = new QHBoxLayout;
    upper->addWidget(mappingFrame, 1);
    upper->addWidget(unknownFrame, 1);

    auto* rowsFrame = frame(this, QStringLiteral("fraRows"), tr("Rows"));
    m_rowsGrid = grid(rowsFrame, QStringLiteral("vsfgRows"));
    m_rowsModel = new ImportRowsModel(
        [this](qint64 id) {
            return m_context.people().data(m_context.people().index(m_context.people().rowOf(id))).toString();
        },
        m_rowsGrid);
    m_rowsGrid->setModel(m_rowsModel);
    // A row ticked to skip, or taken back, changes the counts at once.
    connect(m_rowsModel, &QAbstractItemModel::dataChanged, this, [this] {
        PersonImport::count(m_preview, m_rowsModel->skippedLines());
        showCounts();
    });
    m_rowsGrid->horizontalHeader()->setStretchLastSection(true);
    m_counts = label(rowsFrame, QString(), QStringLiteral("lblCounts"));
    auto* rowsLayout = new QVBoxLayout(rowsFrame);
    rowsLayout->addWidget(m_rowsGrid, 1);
    rowsLayout->addWidget(m_counts);

    auto* saveMap = button(this, QStringLiteral("btnSaveMapping"), tr("Sa&ve Mapping…"));
    auto* loadMap = button(this, QStringLiteral("btnLoadMapping"), tr("&Load Mapping…"));
    auto* preview = button(this, QStringLiteral("btnPreview"), tr("&Preview"));
    m_import = button(this, QStringLiteral("btnImport"), tr("&Import"));
    auto* undoButton = button(this, QStringLiteral("btnUndo"), tr("&Undo Last Import"));
    auto* exit = button(this, QStringLiteral("btnExit"), tr("E&xit"));
    m_lastImport = label(this, QString(), QStringLiteral("lblLastImport"));

    // Everything but the progress line, disabled while the worker reads.
    m_body = new QWidget(this);
    auto* layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    // The columns to map and the rows to check share the height the window gives.
    layout->addLayout(upper, 1);
    layout->addWidget(rowsFrame, 1);
    // The last import's line above the buttons, so that a long file name never squeezes them.
    layout->addWidget(m_lastImport);
    layout->addLayout(buttonRow({saveMap, loadMap, preview, m_import, undoButton, exit}));

    m_working = new QWidget(this);
    m_stage = label(m_working, QString(), QStringLiteral("lblProgress"));
    m_progress = new QProgressBar(m_working);
    m_progress->setObjectName(QStringLiteral("prgPreview"));
    m_cancel = button(m_working, QStringLiteral("btnCancel"), tr("C&ancel"));
    auto* workingLayout = new QHBoxLayout(m_working);
    workingLayout->setContentsMargins(0, 0, 0, 0);
    workingLayout->addWidget(m_stage, 1);
    workingLayout->addWidget(m_progress, 2);
    workingLayout->addWidget(m_cancel);
    m_working->hide();
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, [this] { showProgress(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancelWork(); });

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_body, 1);
    outer->addWidget(m_working);

    Guard::connect(choose, &QPushButton::clicked, this, tr("Choose the file"), [this] { chooseFile(); });
    Guard::connect(m_headings, &QCheckBox::toggled, this, tr("Read the file"), [this] { showMapping(); });
    Guard::connect(m_delimiter, &QComboBox::activated, this, tr("Read the file"), [this] { readFile(m_path, false); });
    Guard::connect(m_byAddress, &QCheckBox::toggled, this, tr("Preview"), [this] { refreshPreview(); });
    Guard::connect(m_byAddressOnly, &QCheckBox::toggled, this, tr("Preview"), [this] { refreshPreview(); });
    Guard::connect(m_areaCode, &QLineEdit::editingFinished, this, tr("Preview"), [this] {
        if (!m_rows.isEmpty()) {
            refreshPreview();
        }
    });
    Guard::connect(preview, &QPushButton::clicked, this, preview->text(), [this] { refreshPreview(); });
    Guard::connect(saveMap, &QPushButton::clicked, this, saveMap->text(), [this] { saveMapping(); });
    Guard::connect(loadMap, &QPushButton::clicked, this, loadMap->text(), [this] { loadMapping(); });
    Guard::connect(m_import, &QPushButton::clicked, this, m_import->text(), [this] { import(); });
    Guard::connect(undoButton, &QPushButton::clicked, this, undoButton->text(), [this] { undo(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void ImportPeopleScreen::chooseFile()
{
    const QString path =
        FileDialogs::getOpenFileName(this, tr("Import People"), tr("CSV files (*.csv *.txt);;All files (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void ImportPeopleScreen::openFile(const QString& path)
{
    readFile(path, true);
}

void ImportPeopleScreen::readFile(const QString& path, bool newFile)
{
    if (path.isEmpty()) {
        return;
    }
    ImportPreviewTask::Request request;
    request.path = path;
    // A new file: its delimiter is found again.
    if (!newFile && m_delimiter->currentIndex() >= 0) {
        request.delimiter = m_delimiter->currentData().toString().front();
    }
    request.options = options();
    request.options.skippedRows.clear();
    if (newFile) {
        request.options.decisions.clear();
    }
    request.guessMapping = true;
    request.reference = PersonImport(m_context.db()).reference();
    // Until the file is read the screen keeps the file it shows, so that Cancel leaves it as it was.
    startWork(std::move(request), [this, path, newFile](ImportPreviewTask::Outcome& outcome) {
        if (!outcome.cancelled) {
            showFileRead(path, newFile, outcome);
        }
    });
}

void ImportPeopleScreen::showFileRead(const QString& path, bool newFile, ImportPreviewTask::Outcome& outcome)
{
    m_path = path;
    m_file->setText(QFileInfo(path).fileName());
    m_import->setEnabled(true);
    if (newFile) {
        m_decisions.clear();
        m_decided.clear();
    }
    // The rows marked to skip belonged to the rows read before.
    m_rowsModel->clearSkipped();
    if (!outcome.problem.isEmpty()) {
        m_rows.clear();
        m_repairs.clear();
        m_delimiter->setCurrentIndex(-1);
        fillMapping({});
        showHouseholdChoice();
        m_preview = {};
        showPreview();
        const QString where = outcome.problemRow > 0 ? tr("%1, row %2").arg(path).arg(outcome.problemRow) : path;
        showMessage(tr("%1: %2").arg(where, outcome.problem), MessageStyle::Warning, tr("Import People"));
        return;
    }
    m_rows = std::move(outcome.table.rows);
    m_repairs = outcome.table.repairs;
    m_delimiter->setCurrentIndex(m_delimiter->findData(QString(outcome.table.delimiter)));
    emit m_context.requests().showStatus(tr("Read %n row(s) of %1 (%2)", nullptr, int(m_rows.size()))
                                             .arg(QFileInfo(path).fileName(), outcome.table.encoding));
    fillMapping(outcome.mapping);
    showHouseholdChoice();
    m_preview = std::move(outcome.preview);
    showPreview();
    if (m_headings->isChecked() && m_rows.size() == 1) {
        showMessage(tr("%1: the file holds no row below its headings.").arg(path), MessageStyle::Warning,
                    tr("Import People"));
    }
}

void ImportPeopleScreen::showMapping()
{
    if (m_rows.isEmpty()) {
        fillMapping({});
        refreshPreview();
        return;
    }
    const QStringList& first = m_rows.first();
    fillMapping(m_headings->isChecked() ? ImportFields::guessMapping(first) : QStringList(first.size(), QString()));
    refreshPreview();
}

void ImportPeopleScreen::fillMapping(const QStringList& mapping)
{
    m_mapping->setRowCount(0);
    if (m_rows.isEmpty()) {
        return;
    }
    const QStringList& first = m_rows.first();
    m_mapping->setRowCount(int(first.size()));
    for (int column = 0; column < first.size(); ++column) {
        m_mapping->setItem(column, 0,
                           cell(m_headings->isChecked() ? first.at(column) : tr("Column %1").arg(column + 1)));
        const QString example = m_rows.size() > (m_headings->isChecked() ? 1 : 0)
                                    ? m_rows.at(m_headings->isChecked() ? 1 : 0).value(column)
                                    : QString();
        m_mapping->setItem(column, 1, cell(example));
        auto* field = new GridDropDown(m_mapping, QStringLiteral("cmbField%1").arg(column));
        field->addItem(tr("(ignore)"), QString());
        for (const ImportFields::Field& f : ImportFields::all()) {
            field->addItem(f.label, f.key);
        }
        field->setCurrentIndex(std::max(0, field->findData(mapping.value(column))));
        Guard::connect(field, &QComboBox::currentIndexChanged, this, tr("Preview"), [this] { refreshPreview(); });
        m_mapping->setCellWidget(column, 2, field);
    }
    m_mapping->resizeColumnsToContents();
}

ImportOptions ImportPeopleScreen::options() const
{
    ImportOptions options;
    options.hasHeadings = m_headings->isChecked();
    for (int row = 0; row < m_mapping->rowCount(); ++row) {
        const auto* field = qobject_cast<const QComboBox*>(m_mapping->cellWidget(row, 2));
        options.mapping << (field != nullptr ? field->currentData().toString() : QString());
    }
    options.householdsByNameAndAddress = m_byAddress->isChecked();
    // Offered only while a column gives the household.
    options.householdsByNameAndAddressOnly = m_byAddressOnly->isEnabled() && m_byAddressOnly->isChecked();
    options.decisions = m_decisions;
    options.skippedRows = m_rowsModel->skippedLines();
    options.areaCode = m_areaCode->text().trimmed();
    options.repairs = m_repairs;
    options.today = m_context.clock().now().date();
    return options;
}

void ImportPeopleScreen::refreshPreview(std::function<void()> then)
{
    showHouseholdChoice();
    if (m_rows.isEmpty()) {
        m_preview = {};
        showPreview();
        if (then) {
            then();
        }
        return;
    }
    ImportPreviewTask::Request request;
    request.rows = m_rows;
    request.options = options();
    request.reference = PersonImport(m_context.db()).reference();
    startWork(std::move(request), [this, then = std::move(then)](ImportPreviewTask::Outcome& outcome) {
        if (outcome.cancelled) {
            // The rows shown (and their marks to skip) stay, but no longer match the choices made.
            m_counts->setText(tr("The preview was cancelled: press Preview to check the rows again."));
            return;
        }
        if (!outcome.problem.isEmpty()) {
            showMessage(tr("%1: %2").arg(m_path, outcome.problem), MessageStyle::Warning, tr("Import People"));
            return;
        }
        m_preview = std::move(outcome.preview);
        showPreview();
        if (then) {
            then();
        }
    });
}

void ImportPeopleScreen::showHouseholdChoice()
{
    bool householdColumn = false;
    for (int row = 0; row < m_mapping->rowCount(); ++row) {
        const auto* field = qobject_cast<const QComboBox*>(m_mapping->cellWidget(row, 2));
        householdColumn = householdColumn || (field != nullptr && field->currentData() == ImportFields::kHousehold);
    }
    m_byAddressOnly->setEnabled(householdColumn);
}

void ImportPeopleScreen::startWork(ImportPreviewTask::Request request,
                                   std::function<void(ImportPreviewTask::Outcome&)> done)
{
    // Work still running is dropped for the new one.
    retireTask();
    m_taskDone = std::move(done);
    m_task = std::make_unique<ImportPreviewTask>(std::move(request));
    setWorking(true);
    const int generation = ++m_generation;
    m_task->start(this, [this, generation] {
        if (m_task && generation == m_generation) {
            workFinished();
        } else {
            // Work dropped earlier has now stopped.
            m_stopping.erase(generation);
        }
    });
}

void ImportPeopleScreen::retireTask()
{
    if (m_task) {
        m_task->cancel();
        m_stopping[m_generation] = std::move(m_task);
    }
}

void ImportPeopleScreen::workFinished()
{
    ImportPreviewTask::Outcome outcome = m_task->takeOutcome();
    m_task.reset();
    finishWork(outcome);
}

void ImportPeopleScreen::finishWork(ImportPreviewTask::Outcome& outcome)
{
    setWorking(false);
    const auto done = std::move(m_taskDone);
    m_taskDone = nullptr;
    if (done) {
        done(outcome);
    }
}

void ImportPeopleScreen::setWorking(bool working)
{
    if (working) {
        if (!m_working->isVisible()) {
            m_focusBefore = focusWidget();
        }
        m_body->setEnabled(false);
        m_progress->setRange(0, 0);
        m_stage->setText(tr("Starting…"));
        m_cancel->setEnabled(true);
        m_working->show();
        m_cancel->setFocus();
        m_progressTimer->start();
    } else {
        m_progressTimer->stop();
        m_working->hide();
        m_body->setEnabled(true);
        if (m_focusBefore) {
            m_focusBefore->setFocus();
        }
    }
}

void ImportPeopleScreen::showProgress()
{
    if (!m_task) {
        return;
    }
    const JobProgress::Snapshot now = m_task->progress();
    if (now.total > 0) {
        m_progress->setRange(0, 1000);
        m_progress->setValue(int(now.done * 1000 / now.total));
    } else {
        m_progress->setRange(0, 0);
    }
    if (!now.stage.isEmpty()) {
        m_stage->setText(now.stage);
    }
}

void ImportPeopleScreen::cancelWork()
{
    if (!m_task) {
        return;
    }
    // The screen is back at once; the worker stops at its next row or chunk and frees what it read on its own
    // time.
    retireTask();
    ImportPreviewTask::Outcome cancelled;
    cancelled.cancelled = true;
    finishWork(cancelled);
}

void ImportPeopleScreen::showPreview()
{
    m_rowsModel->setRows(m_preview.rows);
    m_rowsGrid->resizeColumnsToContents();

    // The values still undecided, then those decided on (which the preview no longer counts as unknown).
    // A column mapped to the wrong list can hold thousands of values: the most used are offered, the others'
    // rows stay left out.
    QList<UnknownValue> values = m_preview.unknownValues;
    const qsizetype notShown = std::max<qsizetype>(0, values.size() - kMostValuesShown);
    if (notShown > 0) {
        std::stable_sort(values.begin(), values.end(),
                         [](const UnknownValue& a, const UnknownValue& b) { return a.rows > b.rows; });
        values.resize(kMostValuesShown);
    }
    // The values decided on keep their places among the others, so that the list stays as it was read while
    // choices are made: by list and value, the most used first when not all are offered.
    values += m_decided.values();
    std::stable_sort(values.begin(), values.end(), [notShown](const UnknownValue& a, const UnknownValue& b) {
        if (notShown > 0 && a.rows != b.rows) {
            return a.rows > b.rows;
        }
        return std::pair(int(a.list), a.value.toLower()) < std::pair(int(b.list), b.value.toLower());
    });
    m_unknown->setRowCount(int(values.size()) + (notShown > 0 ? 1 : 0));
    QHash<int, QStringList> entries;
    for (int i = 0; i < values.size(); ++i) {
        const UnknownValue& value = values.at(i);
        m_unknown->setItem(i, 0, cell(listName(value.list)));
        m_unknown->setItem(i, 1, cell(value.value));
        m_unknown->setItem(i, 2, cell(QString::number(value.rows)));
        auto* decide = new GridDropDown(m_unknown, QStringLiteral("cmbDecision%1").arg(i));
        decide->addItem(tr("(leave the value empty)"));
        decide->addItem(tr("Add to the list"));
        if (!entries.contains(int(value.list))) {
            entries.insert(int(value.list), LookupStore(m_context.db()).texts(value.list));
        }
        for (const QString& entry : std::as_const(entries[int(value.list)])) {
            decide->addItem(tr("Map to %1").arg(entry), entry);
        }
        const std::pair<int, QString> key{int(value.list), value.value.toLower()};
        if (const auto decided = m_decisions.constFind(key); decided != m_decisions.cend()) {
            decide->setCurrentIndex(decided->add ? 1 : std::max(0, decide->findData(decided->mapTo)));
        }
        Guard::connect(decide, &QComboBox::activated, this, tr("Preview"), [this, decide, key, value](int index) {
            if (index == 0) {
                m_decisions.remove(key);
                m_decided.remove(key);
            } else {
                m_decisions[key] =
                    index == 1 ? LookupDecision{true, {}} : LookupDecision{false, decide->currentData().toString()};
                m_decided[key] = value;
            }
            refreshPreview();
        });
        m_unknown->setCellWidget(i, 3, decide);
    }
    if (notShown > 0) {
        m_unknown->setItem(int(values.size()), 1,
                           cell(tr("%n more value(s) not shown; they are left empty", nullptr, int(notShown))));
    }
    m_unknown->resizeColumnsToContents();
    showCounts();
}

void ImportPeopleScreen::showCounts()
{
    m_counts->setText(tr("%1 to import (%2 with warnings), %3 skipped, %4 with problems, %5, %6 to add")
                          .arg(QString::number(m_preview.toImport), QString::number(m_preview.withWarnings),
                               QString::number(m_preview.skipped), QString::number(m_preview.withProblems),
                               tr("%n household(s)", nullptr, int(m_preview.households)),
                               tr("%n list entry(s)", nullptr, int(m_preview.listEntriesToAdd))) +
                      QStringLiteral("; ") + PersonImport::updateCounts(m_preview) +
                      (m_preview.layout.isEmpty() ? QString() : u' ' + m_preview.layout));
}

void ImportPeopleScreen::saveMapping()
{
    if (m_rows.isEmpty() || !m_headings->isChecked()) {
        return;
    }
    const QString path = FileDialogs::getSaveFileName(this, tr("Save Mapping"), tr("CSV files (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    try {
        ImportFields::writeMapping(path, m_rows.first(), options().mapping);
    } catch (const CsvFile::CsvError& error) {
        showMessage(error.problem(), MessageStyle::Warning, tr("Save Mapping"));
    }
}

void ImportPeopleScreen::loadMapping()
{
    if (m_rows.isEmpty() || !m_headings->isChecked()) {
        return;
    }
    const QString path = FileDialogs::getOpenFileName(this, tr("Load Mapping"), tr("CSV files (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    QString problem;
    std::optional<QStringList> mapping;
    try {
        mapping = ImportFields::readMapping(path, m_rows.first(), problem);
    } catch (const CsvFile::CsvError& error) {
        problem = error.problem();
    }
    if (!mapping) {
        showMessage(problem, MessageStyle::Warning, tr("Load Mapping"));
        return;
    }
    for (int row = 0; row < m_mapping->rowCount(); ++row) {
        if (auto* field = qobject_cast<QComboBox*>(m_mapping->cellWidget(row, 2))) {
            const QSignalBlocker quiet(field);
            field->setCurrentIndex(std::max(0, field->findData(mapping->value(row))));
        }
    }
    refreshPreview();
}

void ImportPeopleScreen::import()
{
    // Also for an access key that reaches the button while it waits for a file.
    if (!m_import->isEnabled()) {
        return;
    }
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Save)) {
        return;
    }
    refreshPreview([this] { importPreviewed(); });
}

void ImportPeopleScreen::importPreviewed()
{
    if (m_preview.toImport == 0) {
        showMessage(tr("There is no row to import."), MessageStyle::Plain, tr("Import People"));
        return;
    }
    const QString question = tr("Import %1 (%2)? A backup of the database is made first.")
                                 .arg(tr("%n person(s)", nullptr, int(m_preview.toImport)),
                                      tr("%n household(s)", nullptr, int(m_preview.households)));
    if (showMessage(question, MessageStyle::YesNo, tr("Import People")) != MessageAnswer::Yes) {
        return;
    }
    if (const QString failure = m_backupFirst(); !failure.isEmpty()) {
        showMessage(tr("Nothing was imported: the backup before the import failed. %1").arg(failure),
                    MessageStyle::Warning, tr("Import People"));
        return;
    }
    ImportResult result;
    {
        const BusyCursor busy;
        result = PersonImport(m_context.db())
                     .import(m_preview, options(), QFileInfo(m_path).fileName(), m_context.user().userName,
                             m_context.clock().now());
    }
    emit m_context.changes().namesChanged();
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Imported %1, %2, %3")
                                             .arg(tr("%n person(s)", nullptr, int(result.people)),
                                                  tr("%n family link(s)", nullptr, int(result.links)),
                                                  tr("%n list entry(s)", nullptr, int(result.listEntries))));
    showUndoState();
    showImported();
}

void ImportPeopleScreen::showImported()
{
    const QString file = m_file->text();
    m_path.clear();
    m_file->clear();
    m_rows.clear();
    m_repairs.clear();
    m_decisions.clear();
    m_decided.clear();
    m_rowsModel->clearSkipped();
    fillMapping({});
    showHouseholdChoice();
    m_preview = {};
    showPreview();
    m_counts->setText(tr("The rows of %1 were imported. Choose a file to import more.").arg(file));
    m_import->setEnabled(false);
}

void ImportPeopleScreen::undo()
{
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Remove)) {
        return;
    }
    PersonImport store(m_context.db());
    if (const QString refusal = store.checkUndo(); !refusal.isEmpty()) {
        showMessage(refusal, MessageStyle::Plain, tr("Undo Last Import"));
        return;
    }
    const auto last = store.lastImport();
    if (showMessage(tr("Remove everyone the import of %1 added?").arg(last ? last->first : QString()),
                    MessageStyle::YesNo, tr("Undo Last Import")) != MessageAnswer::Yes) {
        return;
    }
    store.undoLast();
    emit m_context.changes().namesChanged();
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("The import of %1 was undone").arg(last ? last->first : QString()));
    showUndoState();
    refreshPreview();
}

void ImportPeopleScreen::showUndoState()
{
    const auto last = PersonImport(m_context.db()).lastImport();
    m_lastImport->setText(last ? tr("Last import: %1, %2").arg(last->first, shortDateTime(last->second)) : QString());
}
