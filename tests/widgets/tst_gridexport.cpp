#include "widgets/controls.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

// "Export…" on a grid writes what the grid shows: its visible columns in their shown order, its rows,
// check boxes as "Yes", in a CSV file spreadsheets read with accents and without running formulas.
class TestGridExport : public QObject
{
    Q_OBJECT

private slots:
    void exportWritesWhatTheGridShows();
};

void TestGridExport::exportWritesWhatTheGridShows()
{
    MessageLog::startRecording();
    QStandardItemModel model(0, 4);
    model.setHorizontalHeaderLabels({"ID", "Name", "Hidden", "Came"});
    const auto row = [&model](const QString& id, const QString& name, bool came) {
        auto* check = new QStandardItem;
        check->setCheckable(true);
        check->setCheckState(came ? Qt::Checked : Qt::Unchecked);
        model.appendRow({new QStandardItem(id), new QStandardItem(name), new QStandardItem("secret"), check});
    };
    row("1", "Zoë O'Brien", true);
    row("2", "=1+1", false);
    QTableView* grid = Controls::grid(nullptr, "vsfgTest");
    grid->setModel(&model);
    grid->setColumnHidden(2, true);
    grid->horizontalHeader()->moveSection(1, 0); // Name shown first

    QTemporaryDir folder;
    FileDialogs::setNextFileName(folder.filePath("list")); // ".csv" is added
    auto* action = grid->findChild<QAction*>("actExport");
    QVERIFY(action != nullptr);
    QCOMPARE(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
    action->trigger();
    QFile file(folder.filePath("list.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBF"
                                        "\"Name\",\"ID\",\"Came\"\r\n"
                                        "\"Zo\xC3\xAB O'Brien\",\"1\",\"Yes\"\r\n"
                                        "\"'=1+1\",\"2\",\"\"\r\n"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
    delete grid;
    MessageLog::stopRecording();
}

QTEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
