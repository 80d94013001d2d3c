#include "csv/jobprogress.h"
#include "data/database.h"
#include "exchange/importpeoplescreen.h"
#include "services/appcontext.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

// The Import People screen as the office uses it: a spreadsheet export read with its accents, a misspelt
// status mapped, a possible duplicate skipped, the import made after a backup, then undone.
class TestImportPeopleScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importsAfterTheBackupAndUndoes();
    void importingTwiceNeedsTheFileReadAgain();
    void choicesInTheGridsStayAsMade();
    void aFailedBackupImportsNothing();
    void aMappingIsSavedAndUsedAgain();
    void cancelLeavesTheFileShownBefore();
    void closingWhileReadingIsSafe();
    void badFilesAreNamedWithTheirRow_data();
    void badFilesAreNamedWithTheirRow();
    void rowsWithTooManyOrTooFewCellsAreNotImported();
    void householdsByAddressInsteadOfTheColumn();
    void thousandsOfUnknownValuesOfferTheMostUsed();

private:
    QString writeFile()
    {
        // Windows-1252, as an older program writes it: "Zoë" and "Müller" in single bytes.
        const QByteArray bytes = "Family;Last;First;Title;DOB\r\n"
                                 "1;M\xFCller;Hans;Revd;1/2/1970\r\n"
                                 "1;M\xFCller;Zo\xEB;;5/6/2010\r\n"
                                 "2;Able;Ann;Dr;1/2/1980\r\n";
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
    // Many people, so that reading and checking them takes a while.
    QString writeLargeFile()
    {
        QFile file(m_folder.filePath("large.csv"));
        if (file.open(QIODevice::WriteOnly)) {
            file.write("Last,First,Address,DOB,Email\n");
            for (int i = 0; i < 60000; ++i) {
                file.write(QString("Person%1,Given%1,%1 Main Street,1/2/1970,p%1@example.org\n").arg(i).toUtf8());
            }
        }
        return file.fileName();
    }
    QString writeBytes(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_folder.filePath(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
        return file.fileName();
    }
    int people() { return m_context->db().scalar("SELECT COUNT(*) FROM Member").toInt(); }
    // One notch of the mouse wheel over the control, down the list.
    static void turnWheel(QWidget* control)
    {
        const QPointF at = QRectF(control->rect()).center();
        QWheelEvent event(at, control->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &event);
    }
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
    JobProgress::holdForTests(false);
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
    QVERIFY(shown(rows, 0, 5).contains("Revd"));      // a warning: the title is left empty until decided
    QVERIFY(shown(rows, 2, 6).contains("Able, Ann")); // possible duplicate of the stored Ann
    // The other fields follow as they will be stored: the date read as month/day/year.
    const int dob = [rows] {
        for (int column = 0; column < rows->columnCount(); ++column) {
            if (rows->headerData(column, Qt::Horizontal).toString() == "Date of Birth") {
                return column;
            }
        }
        return -1;
    }();
    QVERIFY(dob > 6);
    QCOMPARE(shown(rows, 1, dob), QString("2010-05-06"));

    // "Revd" mapped to "Rev."; Ann skipped.
    auto* unknown = GuiTest::find<QTableWidget>(m_screen.get(), "vsfgUnknown");
    QCOMPARE(unknown->rowCount(), 1);
    GuiTest::choose(qobject_cast<QComboBox*>(unknown->cellWidget(0, 3)), "Map to Rev.");
    waitForWork();
    QCOMPARE(shown(rows, 0, 5), QString());
    // The decision stays in sight, and can be taken back.
    QCOMPARE(unknown->rowCount(), 1);
    QCOMPARE(qobject_cast<QComboBox*>(unknown->cellWidget(0, 3))->currentText(), QString("Map to Rev."));
    GuiTest::find<QTableView>(m_screen.get(), "vsfgRows")
        ->model()
        ->setData(rows->index(2, 0), Qt::Checked, Qt::CheckStateRole);
    // The tick counts at once, and the preview agrees.
    QVERIFY(GuiTest::find<QLabel>(m_screen.get(), "lblCounts")
                ->text()
                .startsWith("2 to import (0 with warnings), 1 skipped"));
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnPreview"));
    waitForWork();
    QVERIFY(GuiTest::find<QLabel>(m_screen.get(), "lblCounts")
                ->text()
                .startsWith("2 to import (0 with warnings), 1 skipped"));

    const int before = people();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnImport"));
    waitForWork();
    QCOMPARE(m_backups, 1);
    QCOMPARE(people(), before + 2);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 1);
    QCOMPARE(m_context->db().scalar("SELECT Title FROM Member WHERE First_Name = 'Hans'").toString(), QString("Rev."));

    MessageLog::takeShown();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnUndo"));
    waitForWork();
    QCOMPARE(MessageLog::takeShown().value(0).title, QString("Undo Last Import"));
    QCOMPARE(people(), before);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 0);
}

void TestImportPeopleScreen::importingTwiceNeedsTheFileReadAgain()
{
    m_screen->openFile(writeFile());
    waitForWork();
    auto* import = GuiTest::find<QPushButton>(m_screen.get(), "btnImport");
    const QAbstractItemModel* rows = GuiTest::find<QTableView>(m_screen.get(), "vsfgRows")->model();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(import);
    waitForWork();
    QCOMPARE(m_backups, 1);
    const int imported = people();

    // The rows are off the screen, and Import waits for a file.
    QCOMPARE(rows->rowCount(), 0);
    QVERIFY(!import->isEnabled());
    QCOMPARE(GuiTest::find<QLabel>(m_screen.get(), "lblCounts")->text(),
             QString("The rows of people.csv were imported. Choose a file to import more."));
    MessageLog::takeShown();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(import);
    waitForWork();
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(m_backups, 1);
    QCOMPARE(people(), imported);

    // Read again, the file's rows show as the people just imported.
    m_screen->openFile(writeFile());
    waitForWork();
    QVERIFY(import->isEnabled());
    QCOMPARE(rows->rowCount(), 3);
    QVERIFY(shown(rows, 1, 6).contains("Müller, Zoë"));
}

void TestImportPeopleScreen::choicesInTheGridsStayAsMade()
{
    m_screen->openFile(writeBytes("titles.csv", "Last,First,Title\nAble,Al,Revd\nBaker,Bo,Pastr\n"));
    waitForWork();
    auto* unknown = GuiTest::find<QTableWidget>(m_screen.get(), "vsfgUnknown");
    const auto values = [unknown] {
        QStringList out;
        for (int row = 0; row < unknown->rowCount(); ++row) {
            out << unknown->item(row, 1)->text();
        }
        return out;
    };
    QCOMPARE(values(), (QStringList{"Pastr", "Revd"}));
    GuiTest::choose(qobject_cast<QComboBox*>(unknown->cellWidget(0, 3)), "Map to Rev.");
    waitForWork();
    // The value decided on keeps its place.
    QCOMPARE(values(), (QStringList{"Pastr", "Revd"}));

    // The wheel passing over a drop-down of either grid changes nothing; over the one with the focus it does.
    auto* decision = qobject_cast<QComboBox*>(unknown->cellWidget(0, 3));
    auto* field = GuiTest::find<QComboBox>(m_screen.get(), "cmbField2");
    const QString status = field->currentText();
    turnWheel(decision);
    turnWheel(field);
    QCOMPARE(decision->currentText(), QString("Map to Rev."));
    QCOMPARE(field->currentText(), status);
    m_screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    field->setFocus();
    QVERIFY(field->hasFocus());
    turnWheel(field);
    QVERIFY(field->currentText() != status);
    waitForWork();
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

void TestImportPeopleScreen::cancelLeavesTheFileShownBefore()
{
    m_screen->openFile(writeFile());
    waitForWork();
    const int before = people();
    // The worker stops at its first step until it is cancelled.
    JobProgress::holdForTests(true);
    m_screen->openFile(writeLargeFile());
    // While the worker reads, only Cancel can be used.
    QVERIFY(working());
    QVERIFY(!GuiTest::find<QPushButton>(m_screen.get(), "btnChooseFile")->isEnabled());
    QVERIFY(!GuiTest::find<QPushButton>(m_screen.get(), "btnImport")->isEnabled());
    QTRY_VERIFY(GuiTest::find<QLabel>(m_screen.get(), "lblProgress")->text().startsWith("Reading"));
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnCancel"));
    waitForWork();

    QVERIFY(GuiTest::find<QPushButton>(m_screen.get(), "btnImport")->isEnabled());
    QCOMPARE(GuiTest::find<QLineEdit>(m_screen.get(), "txtFile")->text(), QString("people.csv"));
    const QAbstractItemModel* rows = GuiTest::find<QTableView>(m_screen.get(), "vsfgRows")->model();
    QCOMPARE(rows->rowCount(), 3);
    QCOMPARE(shown(rows, 0, 2), QString("Müller"));
    QCOMPARE(GuiTest::find<QTableWidget>(m_screen.get(), "vsfgMapping")->rowCount(), 5);
    QCOMPARE(people(), before);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Import_Batch").toInt(), 0);
}

void TestImportPeopleScreen::closingWhileReadingIsSafe()
{
    const int before = people();
    auto* stage = GuiTest::find<QLabel>(m_screen.get(), "lblProgress");
    // A read cancelled (its worker still stopping), then another one closed mid-read: each worker stops at its
    // first step until it is cancelled.
    JobProgress::holdForTests(true);
    m_screen->openFile(writeLargeFile());
    QTRY_VERIFY(stage->text().startsWith("Reading"));
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnCancel"));
    QVERIFY(!working());
    m_screen->openFile(writeLargeFile());
    QTRY_VERIFY(stage->text().startsWith("Reading"));
    m_screen->close();
    m_screen.reset();
    // The worker's end, had it been delivered, would find no screen.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(people(), before);
}

void TestImportPeopleScreen::badFilesAreNamedWithTheirRow_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty") << QByteArray() << "bad.csv:"
                           << "The file is empty.";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) << "bad.csv, row 3:"
                            << "binary data";
    QTest::newRow("NUL byte") << QByteArray("Last,First\nAble,Ann\nBa\0ker,Bob\n", 31) << "bad.csv, row 3:"
                              << "binary data";
    QTest::newRow("unclosed quote") << QByteArray("Last,First\nAble,Ann\n\"Baker,Bob\nCole,Cy\n") << "bad.csv, row 3:"
                                    << "A quote is not closed";
    QTest::newRow("headings only") << QByteArray("Last,First\n") << "bad.csv:"
                                   << "the file holds no row below its headings";
    QTest::newRow("thousands of columns") << QByteArray("Last,First").leftJustified(3000, ',') + "\nAble,Ann\n"
                                          << "bad.csv, row 1:"
                                          << "The row has 2992 cells";
    QTest::newRow("too many rows") << QByteArray("Last\n") + QByteArray("a\n").repeated(250001)
                                   << "bad.csv, row 250001:"
                                   << "The file has more than 250000 rows";
    // Grown past the largest file read (sparse, so the disk holds next to nothing).
    QTest::newRow("too large") << QByteArray("Last,First\n") << "bad.csv:"
                               << "The file is 129 MB; files of up to 128 MB can be read.";
}

void TestImportPeopleScreen::badFilesAreNamedWithTheirRow()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, where);
    QFETCH(QString, problem);
    const int before = people();
    MessageLog::takeShown();
    const QString path = writeBytes("bad.csv", bytes);
    if (qstrcmp(QTest::currentDataTag(), "too large") == 0) {
        QVERIFY(QFile::resize(path, 129'000'000));
    }
    m_screen->openFile(path);
    waitForWork();
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.contains(QDir::separator() + where) && shown.first().text.contains(problem),
             qPrintable(shown.first().text));
    QCOMPARE(GuiTest::find<QTableView>(m_screen.get(), "vsfgRows")->model()->rowCount(), 0);

    // Nothing to import, and nothing written.
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnImport"));
    waitForWork();
    QCOMPARE(MessageLog::takeShown().value(0).text, QString("There is no row to import."));
    QCOMPARE(m_backups, 0);
    QCOMPARE(people(), before);
}

void TestImportPeopleScreen::rowsWithTooManyOrTooFewCellsAreNotImported()
{
    m_screen->openFile(
        writeBytes("cells.csv", "Last,First,DOB\nAble,Ann\nBaker,Bob,1/2/1970,extra\nCole,Cy,3/4/1980\n"));
    waitForWork();
    const QAbstractItemModel* rows = GuiTest::find<QTableView>(m_screen.get(), "vsfgRows")->model();
    QCOMPARE(rows->rowCount(), 3);
    QCOMPARE(shown(rows, 0, 4), QString("The row has 2 cells where the headings have 3."));
    QCOMPARE(shown(rows, 1, 4), QString("The row has 4 cells where the headings have 3."));
    QCOMPARE(shown(rows, 2, 4), QString());
    QVERIFY(GuiTest::find<QLabel>(m_screen.get(), "lblCounts")
                ->text()
                .startsWith("1 to import (0 with warnings), 0 skipped, 2 with problems"));
}

void TestImportPeopleScreen::householdsByAddressInsteadOfTheColumn()
{
    m_screen->openFile(
        writeBytes("families.csv", "Family,Last,First,Address\n1,Hale,Dad,9 Oak Rd\n2,Hale,Mom,9 Oak Rd\n"));
    waitForWork();
    auto* only = GuiTest::find<QCheckBox>(m_screen.get(), "chkHouseholdsByAddressOnly");
    auto* counts = GuiTest::find<QLabel>(m_screen.get(), "lblCounts");
    QVERIFY(only->isEnabled());
    QVERIFY(counts->text().contains(", 0 households"));
    GuiTest::click(only);
    waitForWork();
    QVERIFY2(counts->text().contains(", 1 household,"), qPrintable(counts->text()));

    // Without a household column there is nothing to group instead of.
    GuiTest::choose(GuiTest::find<QComboBox>(m_screen.get(), "cmbField0"), "(ignore)");
    waitForWork();
    QVERIFY(!only->isEnabled());
    QVERIFY2(counts->text().contains(", 0 households"), qPrintable(counts->text()));
}

void TestImportPeopleScreen::thousandsOfUnknownValuesOfferTheMostUsed()
{
    // A column of IDs read as titles: 2,000 values, one of them on three rows.
    QByteArray bytes = "Last,Title\n";
    for (int i = 0; i < 2000; ++i) {
        bytes += QString("Person%1,S%1\n").arg(i).toUtf8();
    }
    bytes += "Extra,S1234\nExtra,S1234\n";
    m_screen->openFile(writeBytes("ids.csv", bytes));
    waitForWork();
    auto* unknown = GuiTest::find<QTableWidget>(m_screen.get(), "vsfgUnknown");
    QCOMPARE(unknown->rowCount(), 501);
    QCOMPARE(unknown->item(0, 1)->text(), QString("S1234"));
    QCOMPARE(unknown->item(500, 1)->text(), QString("1500 more values not shown; they are left empty"));
    QVERIFY(GuiTest::find<QLabel>(m_screen.get(), "lblCounts")
                ->text()
                .startsWith("2002 to import (2002 with warnings), 0 skipped, 0 with problems"));
}

QTEST_MAIN(TestImportPeopleScreen)
#include "tst_importpeoplescreen.moc"
