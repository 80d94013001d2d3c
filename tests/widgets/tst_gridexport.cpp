#include "widgets/controls.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include "guitest.h"
#include "workbookreader.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A result whose rows arrive a page at a time as the view scrolls, as a navigator's do.
class PagedModel final : public QAbstractTableModel
{
public:
    PagedModel(int total, int page)
        : m_total(total)
        , m_page(page)
        , m_read(page)
    {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_read; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QString::number(index.row() + 1)) : QVariant();
    }
    QVariant headerData(int, Qt::Orientation orientation, int role) const override
    {
        return orientation == Qt::Horizontal && role == Qt::DisplayRole ? QVariant(QString("ID")) : QVariant();
    }
    bool canFetchMore(const QModelIndex& parent) const override { return !parent.isValid() && m_read < m_total; }
    void fetchMore(const QModelIndex& parent) override
    {
        const int more = qMin(m_page, m_total - m_read);
        if (parent.isValid() || more <= 0) {
            return;
        }
        beginInsertRows({}, m_read, m_read + more - 1);
        m_read += more;
        endInsertRows();
    }

private:
    int m_total;
    int m_page;
    int m_read;
};

} // namespace

// "Export…" on a grid writes what the grid shows: its visible columns in their shown order, its rows,
// check boxes as "Yes", in a CSV file spreadsheets read with accents and without running formulas, or in
// an Excel workbook when the name or the chosen filter asks for one.
class TestGridExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exportWritesWhatTheGridShows();
    void nameOrFilterChoosesTheFormat_data();
    void nameOrFilterChoosesTheFormat();
    void unwritableWorkbookIsReported();
    void exportWritesTheWholeResultNotJustTheRowsFetched_data();
    void exportWritesTheWholeResultNotJustTheRowsFetched();

private:
    void exportTo(const QString& name, const QString& filter = {})
    {
        FileDialogs::setNextFileName(m_folder->filePath(name), filter);
        auto* action = GuiTest::find<QAction>(m_grid.get(), "actExport");
        QCOMPARE(m_grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        action->trigger();
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<QTableView> m_grid;
};

// A grid of two people with a hidden column and its columns moved: Name shown first.
void TestGridExport::init()
{
    MessageLog::startRecording();
    m_folder = std::make_unique<QTemporaryDir>();
    m_model = std::make_unique<QStandardItemModel>(0, 4);
    m_model->setHorizontalHeaderLabels({"ID", "Name", "Hidden", "Came"});
    const auto row = [this](const QString& id, const QString& name, bool came) {
        auto* check = new QStandardItem;
        check->setCheckable(true);
        check->setCheckState(came ? Qt::Checked : Qt::Unchecked);
        m_model->appendRow({new QStandardItem(id), new QStandardItem(name), new QStandardItem("secret"), check});
    };
    row("1", "Zoë O'Brien  ", true); // the blanks that end a built name are not exported
    row("2", "=1+1", false);
    m_grid.reset(Controls::grid(nullptr, "vsfgTest"));
    m_grid->setModel(m_model.get());
    m_grid->setColumnHidden(2, true);
    m_grid->horizontalHeader()->moveSection(1, 0);
}

void TestGridExport::cleanup()
{
    m_grid.reset();
    m_model.reset();
    m_folder.reset();
    FileDialogs::clearNextFileNames();
    MessageLog::stopRecording();
}

void TestGridExport::exportWritesWhatTheGridShows()
{
    exportTo("list"); // ".csv" is added
    QFile file(m_folder->filePath("list.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBF"
                                        "\"Name\",\"ID\",\"Came\"\r\n"
                                        "\"Zo\xC3\xAB O'Brien\",\"1\",\"Yes\"\r\n"
                                        "\"'=1+1\",\"2\",\"\"\r\n"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestGridExport::nameOrFilterChoosesTheFormat_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("workbook");
    const QString csv = "CSV (*.csv)";
    const QString workbook = "Excel workbook (*.xlsx)";
    QTest::newRow("workbook filter adds .xlsx") << "list" << workbook << "list.xlsx" << true;
    QTest::newRow("typed .xlsx under the CSV filter") << "list.xlsx" << csv << "list.xlsx" << true;
    QTest::newRow("typed .CSV under the workbook filter") << "list.CSV" << workbook << "list.CSV" << false;
    QTest::newRow("other ending under the workbook filter") << "list.txt" << workbook << "list.txt.xlsx" << true;
}

void TestGridExport::nameOrFilterChoosesTheFormat()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(bool, workbook);
    exportTo(typed, filter);
    const QString path = m_folder->filePath(written);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray start = file.read(4);
    QCOMPARE(start.startsWith("PK"), workbook); // a workbook is a zip archive
    if (workbook) {
        const WorkbookContents book = readWorkbook(path);
        QVERIFY2(book.problem.isEmpty(), qPrintable(book.problem));
        QCOMPARE(book.rows,
                 QList<QStringList>({{"Name", "ID", "Came"}, {"Zoë O'Brien", "1", "Yes"}, {"=1+1", "2", ""}}));
        QCOMPARE(book.formulas, 0);
    } else {
        QCOMPARE(start, QByteArray("\xEF\xBB\xBF\""));
    }
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestGridExport::unwritableWorkbookIsReported()
{
    exportTo("missing/list.xlsx");
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.contains("list.xlsx could not be written"), qPrintable(shown.first().text));
    QCOMPARE(shown.first().style, MessageStyle::Warning);
}

void TestGridExport::exportWritesTheWholeResultNotJustTheRowsFetched_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("CSV") << "found.csv";
    QTest::newRow("workbook") << "found.xlsx";
}

void TestGridExport::exportWritesTheWholeResultNotJustTheRowsFetched()
{
    QFETCH(QString, name);
    // 254 found, 100 read so far; the grid sits in a main window, whose status bar tells what was written.
    QMainWindow window;
    PagedModel model(254, 100);
    auto* grid = Controls::grid(&window, "vsfgFound");
    grid->setModel(&model);
    window.setCentralWidget(grid);
    QCOMPARE(model.rowCount(), 100);

    const QString path = m_folder->filePath(name);
    FileDialogs::setNextFileName(path, {});
    GuiTest::find<QAction>(grid, "actExport")->trigger();

    QList<QStringList> rows;
    if (name.endsWith(".xlsx")) {
        const WorkbookContents book = readWorkbook(path);
        QVERIFY2(book.problem.isEmpty(), qPrintable(book.problem));
        rows = book.rows;
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.isEmpty()) {
                rows << QStringList{QString::fromUtf8(line).remove(QChar(0xFEFF)).remove('"').trimmed()};
            }
        }
    }
    QCOMPARE(rows.size(), 255);
    QCOMPARE(rows.first(), QStringList{"ID"});
    QCOMPARE(rows.last(), QStringList{"254"});
    QCOMPARE(window.statusBar()->currentMessage(), QString("Wrote 254 rows to %1").arg(QDir::toNativeSeparators(path)));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

QTEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
