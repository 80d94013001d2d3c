#include "widgets/controls.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include "workbookreader.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

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

private:
    void exportTo(const QString& name, const QString& filter = {})
    {
        FileDialogs::setNextFileName(m_folder->filePath(name), filter);
        auto* action = m_grid->findChild<QAction*>("actExport");
        QVERIFY(action != nullptr);
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

QTEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
