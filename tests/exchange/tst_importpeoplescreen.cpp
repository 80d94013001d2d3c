#include "data/database.h"
#include "exchange/importpeoplescreen.h"
#include "shell/appcontext.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

// The Import People screen as the office uses it: a spreadsheet export read with its accents, a misspelt
// status mapped, a possible duplicate skipped, the import made after a backup, then undone.
class TestImportPeopleScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importsAfterTheBackupAndUndoes();
    void aFailedBackupImportsNothing();
    void aMappingIsSavedAndUsedAgain();

private:
    QString writeFile()
    {
        // Windows-1252, as an older program writes it: "Zoë" and "Müller" in single bytes.
        const QByteArray bytes = "Family;Last;First;Status;DOB\r\n"
                                 "1;M\xFCller;Hans;Membr;1/2/1970\r\n"
                                 "1;M\xFCller;Zo\xEB;Member;5/6/2010\r\n"
                                 "2;Able;Ann;Member;1/2/1980\r\n";
        QFile file(m_folder.filePath("people.csv"));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
        return file.fileName();
    }
    static QString shown(const QAbstractItemModel* model, int row, int column)
    {
        return model->index(row, column).data().toString();
    }
    int people() { return m_context->db().scalar("SELECT COUNT(*) FROM Member").toInt(); }
    // The worker's progress line is shown from the moment it starts until its result is on the screen.
    bool working() const { return GuiTest::find<QWidget>(m_screen.get(), "prgPreview")->isVisible(); }
    void waitForWork() { QTRY_VERIFY(!working()); }

    QTemporaryDir m_folder;
    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    int m_backups = 0;
    QString m_backupFailure;
    std::unique_ptr<ImportPeopleScreen> m_screen;
};

void TestImportPeopleScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "clerk"});
    const qint64 ann = TestDatabase::addPerson(m_context->db(), "Ann", "Able");
    m_context->db().execute("UPDATE Member SET Date_Of_Birth = '1980-01-02' WHERE ID = ?", {ann});
    m_backups = 0;
    m_backupFailure.clear();
    m_screen = std::make_unique<ImportPeopleScreen>(*m_context, [this] {
        ++m_backups;
        return m_backupFailure;
    });
    m_screen->show();
}

void TestImportPeopleScreen::cleanup()
{
    m_screen.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestImportPeopleScreen::importsAfterTheBackupAndUndoes()
{
    m_screen->openFile(writeFile());
    waitForWork();
    const QAbstractItemModel* rows = GuiTest::find<QTableView>(m_screen.get(), "vsfgRows")->model();
    QCOMPARE(rows->rowCount(), 3);
    QCOMPARE(shown(rows, 0, 2), QString("Müller"));
    QCOMPARE(shown(rows, 1, 3), QString("Zoë"));
    QVERIFY(shown(rows, 0, 4).contains("Membr"));
    QVERIFY(shown(rows, 2, 5).contains("Able, Ann")); // possible duplicate of the stored Ann

    // "Membr" mapped to "Member"; Ann skipped.
    auto* unknown = GuiTest::find<QTableWidget>(m_screen.get(), "vsfgUnknown");
    QCOMPARE(unknown->rowCount(), 1);
    GuiTest::choose(qobject_cast<QComboBox*>(unknown->cellWidget(0, 3)), "Map to Member");
    waitForWork();
    QCOMPARE(shown(rows, 0, 4), QString());
    // The decision stays in sight, and can be taken back.
    QCOMPARE(unknown->rowCount(), 1);
    QCOMPARE(qobject_cast<QComboBox*>(unknown->cellWidget(0, 3))->currentText(), QString("Map to Member"));
    GuiTest::find<QTableView>(m_screen.get(), "vsfgRows")
        ->model()
        ->setData(rows->index(2, 0), Qt::Checked, Qt::CheckStateRole);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnPreview"));
    waitForWork();
    QVERIFY(GuiTest::find<QLabel>(m_screen.get(), "lblCounts")->text().startsWith("2 to import, 1 skipped"));

    const int before = people();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnImport"));
    waitForWork();
    QCOMPARE(m_backups, 1);
    QCOMPARE(people(), before + 2);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 1);
    QCOMPARE(m_context->db().scalar("SELECT Status FROM Member WHERE First_Name = 'Hans'").toString(),
             QString("Member"));

    MessageLog::takeShown();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnUndo"));
    waitForWork();
    QCOMPARE(MessageLog::takeShown().value(0).title, QString("Undo Last Import"));
    QCOMPARE(people(), before);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 0);
}

void TestImportPeopleScreen::aFailedBackupImportsNothing()
{
    m_backupFailure = "The disk is full.";
    m_screen->openFile(writeFile());
    waitForWork();
    const int before = people();
    MessageLog::takeShown();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnImport"));
    waitForWork();
    QCOMPARE(m_backups, 1);
    QCOMPARE(people(), before);
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QVERIFY(shown.last().text.contains("The disk is full."));
}

void TestImportPeopleScreen::aMappingIsSavedAndUsedAgain()
{
    m_screen->openFile(writeFile());
    waitForWork();
    auto* dob = GuiTest::find<QComboBox>(m_screen.get(), "cmbField4");
    QCOMPARE(dob->currentText(), QString("Date of Birth"));
    GuiTest::choose(dob, "Anniversary");
    waitForWork();
    FileDialogs::setNextFileName(m_folder.filePath("mapping.csv"));
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnSaveMapping"));

    m_screen->openFile(writeFile()); // read again: the guess comes back
    waitForWork();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the old rows' lists go
    QCOMPARE(GuiTest::find<QComboBox>(m_screen.get(), "cmbField4")->currentText(), QString("Date of Birth"));
    FileDialogs::setNextFileName(m_folder.filePath("mapping.csv"));
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnLoadMapping"));
    waitForWork();
    QCOMPARE(GuiTest::find<QComboBox>(m_screen.get(), "cmbField4")->currentText(), QString("Anniversary"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

QTEST_MAIN(TestImportPeopleScreen)
#include "tst_importpeoplescreen.moc"
