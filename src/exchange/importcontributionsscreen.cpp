#include "exchange/importcontributionsscreen.h"

#include "core/changenotifier.h"
#include "core/clock.h"
#include "core/money.h"
#include "core/textformat.h"
#include "exchange/giftrowsmodel.h"
#include "exchange/personimport.h"
#include "services/appcontext.h"
#include "widgets/controls.h"
#include "widgets/filedialogs.h"
#include "widgets/griddropdown.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <new>

using namespace Controls;

// The reading and preview on a worker thread: it gets plain data and touches no database or widget.
struct ImportContributionsScreen::Work
{
    QString path; // empty: preview the rows given
    CsvFile::Table table;
    GiftOptions options;
    bool guessMapping = false;
    GiftReference reference;
    JobProgress progress;
    GiftPreview preview;
    QString problem;
    bool cancelled = false;
    std::unique_ptr<QThread> thread;

    void run()
    {
        try {
            if (!path.isEmpty()) {
                table = PersonImport::readFile(path, QChar(), &progress);
                options.delimiter = table.delimiter;
                options.repairs = table.repairs;
            }
            if (guessMapping) {
                options.mapping = GiftFields::guessMapping(table.rows.value(0));
            }
            preview = GiftImport::preview(reference, table.rows, options, &progress);
        } catch (const JobProgress::Cancelled&) {
            cancelled = true;
        } catch (const CsvFile::CsvError& error) {
            problem = error.row() > 0 ? ImportContributionsScreen::tr("%1, row %2: %3")
                                            .arg(QFileInfo(path).fileName())
                                            .arg(error.row())
                                            .arg(error.problem())
                                      : error.problem();
        } catch (const std::bad_alloc&) {
            problem = ImportContributionsScreen::tr("The file is too large to be read in the memory this computer "
                                                    "has free.");
        }
    }
    ~Work()
    {
        if (thread) {
            progress.cancel();
            thread->wait();
        }
    }
};

ImportContributionsScreen::ImportContributionsScreen(AppContext& context, std::function<QString()> backupFirst,
                                                     QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_backupFirst(std::move(backupFirst))
{
    setWindowTitle(tr("Import Contributions"));
    buildControls();
    showUndoState();
}

ImportContributionsScreen::~ImportContributionsScreen() = default;

QSize ImportContributionsScreen::sizeHint() const
{
    const QSize size = searchScreenSize(this, QWidget::sizeHint());
    return {qMax(size.width(), 1000), size.height()};
}

void ImportContributionsScreen::buildControls()
{
    m_file = lineEdit(this, QStringLiteral("txtFile"));
    makeDisplayOnly(m_file);
    auto* choose = button(this, QStringLiteral("btnChooseFile"), tr("&Choose File…"));
    m_addDesignations =
        checkBox(this, QStringLiteral("chkAddDesignations"), tr("&Add the designations the list lacks"));
    auto* top = new QGridLayout;
    top->addWidget(label(this, tr("File")), 0, 0);
    top->addWidget(m_file, 0, 1);
    top->addWidget(choose, 0, 2);
    top->addWidget(m_addDesignations, 1, 1);
    top->setColumnStretch(1, 1);

    m_mapping = new QTableWidget(0, 3, this);
    m_mapping->setObjectName(QStringLiteral("vsfgMapping"));
    m_mapping->setHorizontalHeaderLabels({tr("Column"), tr("First value"), tr("Field")});
    m_mapping->verticalHeader()->hide();
    m_mapping->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_mapping->horizontalHeader()->setStretchLastSection(true);

    m_rowsGrid = grid(this, QStringLiteral("vsfgRows"));
    m_rowsModel = new GiftRowsModel(m_rowsGrid);
    m_rowsGrid->setModel(m_rowsModel);
    m_rowsGrid->horizontalHeader()->setStretchLastSection(true);
    m_summary = label(this, QString(), QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lastImport = label(this, QString(), QStringLiteral("lblLastImport"));

    auto* preview = button(this, QStringLiteral("btnPreview"), tr("&Preview"));
    m_import = button(this, QStringLiteral("btnImport"), tr("&Import"));
    auto* undoButton = button(this, QStringLiteral("btnUndo"), tr("&Undo Last Import"));
    auto* exit = button(this, QStringLiteral("btnExit"), tr("E&xit"));
    m_import->setEnabled(false);

    m_body = new QWidget(this);
    auto* layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_mapping, 1);
    middle->addWidget(m_summary, 1);
    layout->addLayout(middle, 1);
    layout->addWidget(m_rowsGrid, 2);
    layout->addWidget(m_lastImport);
    layout->addLayout(buttonRow({preview, m_import, undoButton, exit}));

    m_working = new QWidget(this);
    m_stage = label(m_working, QString(), QStringLiteral("lblProgress"));
    m_progress = new QProgressBar(m_working);
    m_progress->setObjectName(QStringLiteral("prgPreview"));
    auto* cancel = button(m_working, QStringLiteral("btnCancel"), tr("C&ancel"));
    auto* workingLayout = new QHBoxLayout(m_working);
    workingLayout->setContentsMargins(0, 0, 0, 0);
    workingLayout->addWidget(m_stage, 1);
    workingLayout->addWidget(m_progress, 2);
    workingLayout->addWidget(cancel);
    m_working->hide();
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, [this] {
        if (!m_work) {
            return;
        }
        const JobProgress::Snapshot now = m_work->progress.snapshot();
        m_progress->setRange(0, now.total > 0 ? 1000 : 0);
        m_progress->setValue(now.total > 0 ? int(now.done * 1000 / now.total) : 0);
        m_stage->setText(now.stage);
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (m_work) {
            m_work->progress.cancel();
        }
    });

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_body, 1);
    outer->addWidget(m_working);

    Guard::connect(choose, &QPushButton::clicked, this, tr("Choose the file"), [this] { chooseFile(); });
    Guard::connect(m_addDesignations, &QCheckBox::toggled, this, tr("Preview"), [this] { startPreview({}); });
    Guard::connect(preview, &QPushButton::clicked, this, preview->text(), [this] { startPreview({}); });
    Guard::connect(m_import, &QPushButton::clicked, this, m_import->text(), [this] { import(); });
    Guard::connect(undoButton, &QPushButton::clicked, this, undoButton->text(), [this] { undo(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void ImportContributionsScreen::chooseFile()
{
    const QString path =
        FileDialogs::getOpenFileName(this, tr("Import Contributions"), tr("CSV files (*.csv *.txt);;All files (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void ImportContributionsScreen::openFile(const QString& path)
{
    startPreview(path);
}

void ImportContributionsScreen::startPreview(const QString& path)
{
    if (m_work || (path.isEmpty() && m_table.rows.isEmpty())) {
        return;
    }
    m_work = std::make_unique<Work>();
    m_work->path = path;
    m_work->options = options();
    m_work->guessMapping = !path.isEmpty();
    if (path.isEmpty()) {
        m_work->table = m_table;
    }
    m_work->reference = GiftImport(m_context.db()).reference();
    m_work->thread.reset(QThread::create([work = m_work.get()] { work->run(); }));
    connect(
        m_work->thread.get(), &QThread::finished, this, [this] { workFinished(); }, Qt::QueuedConnection);
    setWorking(true);
    m_work->thread->start();
}

void ImportContributionsScreen::workFinished()
{
    std::unique_ptr<Work> done = std::move(m_work);
    setWorking(false);
    if (!done || done->cancelled) {
        return;
    }
    if (!done->problem.isEmpty()) {
        showMessage(done->problem, MessageStyle::Warning, tr("Import Contributions"));
        return;
    }
    if (!done->path.isEmpty()) {
        m_path = done->path;
        m_file->setText(QFileInfo(m_path).fileName());
        m_table = std::move(done->table);
        fillMapping(done->options.mapping);
        emit m_context.requests().showStatus(tr("Read %n row(s) of %1 (%2)", nullptr, int(m_table.rows.size()))
                                                 .arg(QFileInfo(m_path).fileName(), m_table.encoding));
    }
    m_preview = std::move(done->preview);
    showPreview();
}

void ImportContributionsScreen::setWorking(bool working)
{
    m_body->setEnabled(!working);
    m_working->setVisible(working);
    if (working) {
        m_stage->setText(tr("Starting…"));
        m_progress->setRange(0, 0);
        m_progressTimer->start();
    } else {
        m_progressTimer->stop();
    }
}

void ImportContributionsScreen::fillMapping(const QStringList& mapping)
{
    const QStringList headings = m_table.rows.value(0);
    m_mapping->setRowCount(int(headings.size()));
    for (int column = 0; column < headings.size(); ++column) {
        m_mapping->setItem(column, 0, new QTableWidgetItem(headings.at(column)));
        m_mapping->setItem(column, 1, new QTableWidgetItem(m_table.rows.value(1).value(column)));
        auto* field = new GridDropDown(m_mapping, QStringLiteral("cmbField%1").arg(column));
        field->addItem(tr("(ignore)"), QString());
        for (const auto& [key, name] : GiftFields::all()) {
            field->addItem(name, key);
        }
        field->setCurrentIndex(std::max(0, field->findData(mapping.value(column))));
        Guard::connect(field, &QComboBox::activated, this, tr("Preview"), [this] { startPreview({}); });
        m_mapping->setCellWidget(column, 2, field);
    }
    m_mapping->resizeColumnsToContents();
}

GiftOptions ImportContributionsScreen::options() const
{
    GiftOptions options;
    for (int row = 0; row < m_mapping->rowCount(); ++row) {
        const auto* field = qobject_cast<const QComboBox*>(m_mapping->cellWidget(row, 2));
        options.mapping << (field != nullptr ? field->currentData().toString() : QString());
    }
    options.delimiter = m_table.delimiter.isNull() ? QLatin1Char(',') : m_table.delimiter;
    options.addMissingDesignations = m_addDesignations->isChecked();
    options.today = m_context.clock().now().date();
    options.repairs = m_table.repairs;
    return options;
}

void ImportContributionsScreen::showPreview()
{
    m_rowsModel->setRows(m_preview.rows);
    m_rowsGrid->resizeColumnsToContents();
    m_import->setEnabled(m_preview.refusal.isEmpty() && m_preview.toImport > 0);
    if (!m_preview.refusal.isEmpty()) {
        m_summary->setText(m_preview.refusal);
        return;
    }
    QStringList lines;
    for (const DesignationTotal& total : std::as_const(m_preview.totals)) {
        lines << tr("%1: %2, %3")
                     .arg(total.designation, tr("%n gift(s)", nullptr, total.gifts), formatAmount(total.cents));
    }
    lines << tr("%1 to import (%2), %3 with problems (left out), %4 possible duplicates.")
                 .arg(QString::number(m_preview.toImport), formatAmount(m_preview.totalCents),
                      QString::number(m_preview.withProblems), QString::number(m_preview.possibleDuplicates));
    lines << tr("The gifts are entered as by %1 at the time of the import: the entry control report of that day "
                "lists them all.")
                 .arg(m_context.user().userName);
    m_summary->setText(lines.join(u'\n'));
}

void ImportContributionsScreen::import()
{
    if (m_preview.toImport == 0 || !m_preview.refusal.isEmpty()) {
        return;
    }
    const QString question =
        tr("Import %1 (%2)? A backup of the database is made first.")
            .arg(tr("%n gift(s)", nullptr, m_preview.toImport), formatAmount(m_preview.totalCents));
    if (showMessage(question, MessageStyle::YesNo, tr("Import Contributions")) != MessageAnswer::Yes) {
        return;
    }
    if (const QString failure = m_backupFirst(); !failure.isEmpty()) {
        showMessage(tr("Nothing was imported: the backup before the import failed. %1").arg(failure),
                    MessageStyle::Warning, tr("Import Contributions"));
        return;
    }
    const GiftImportResult result = GiftImport(m_context.db())
                                        .import(m_preview, options(), QFileInfo(m_path).fileName(),
                                                m_context.user().userName, m_context.clock().now());
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(
        tr("Imported %1, %2").arg(tr("%n gift(s)", nullptr, result.gifts), formatAmount(result.cents)));
    // The same rows are never imported twice: the file must be chosen again.
    m_table = {};
    m_preview = {};
    m_mapping->setRowCount(0);
    showPreview();
    m_summary->setText(tr("The gifts of %1 were imported. Choose a file to import more.").arg(m_file->text()));
    showUndoState();
}

void ImportContributionsScreen::undo()
{
    PersonImport imports(m_context.db());
    if (const QString refusal = imports.checkUndo(); !refusal.isEmpty()) {
        showMessage(refusal, MessageStyle::Plain, tr("Undo Last Import"));
        return;
    }
    const auto last = imports.lastImport();
    if (showMessage(tr("Take back everything the import of %1 added?").arg(last ? last->first : QString()),
                    MessageStyle::YesNo, tr("Undo Last Import")) != MessageAnswer::Yes) {
        return;
    }
    imports.undoLast();
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("The import of %1 was undone").arg(last ? last->first : QString()));
    showUndoState();
}

void ImportContributionsScreen::showUndoState()
{
    const auto last = PersonImport(m_context.db()).lastImport();
    m_lastImport->setText(last ? tr("Last import: %1, %2").arg(last->first, shortDateTime(last->second)) : QString());
}
