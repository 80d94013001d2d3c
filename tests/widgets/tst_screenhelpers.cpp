#include "data/database.h"
#include "testdatabase.h"
#include "widgets/datebox.h"
#include "widgets/filedialogs.h"
#include "widgets/pairedlist.h"
#include "widgets/screenhelpers.h"
#include "widgets/unsavedchanges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class TestScreenHelpers : public QObject
{
    Q_OBJECT

private slots:
    void pairedComboKeepsQueryOrderAndIds();
    void pairedComboSelectById_data();
    void pairedComboSelectById();
    void pairedListBoxGivesSelectedIds();
    void selectAllOnFocus_data();
    void selectAllOnFocus();
    void dateSwitchFollowsCheckBox();
    void fileDialogIsAnsweredByTests();
    void escapeClosesAnOpenListBeforeTheScreen();
};

void TestScreenHelpers::pairedComboKeepsQueryOrderAndIds()
{
    TestDatabase testDb;
    auto db = testDb.open();
    const Rows rows =
        db->select("SELECT ID, Last_Name || ', ' || First_Name AS Name FROM Member WHERE ID > 1 ORDER BY ID DESC");
    QComboBox list;
    list.addItem("left over");
    PairedList::fill(&list, rows, u"Name", u"ID");

    QCOMPARE(list.count(), int(rows.size()));
    QCOMPARE(list.currentIndex(), -1);
    QCOMPARE(PairedList::selectedId(&list), std::nullopt);
    QCOMPARE(PairedList::selectedIdOrZero(&list), 0);
    for (int i = 0; i < list.count(); ++i) {
        QCOMPARE(list.itemText(i), rows.at(std::size_t(i)).text(u"Name"));
        list.setCurrentIndex(i);
        QCOMPARE(PairedList::selectedId(&list), rows.at(std::size_t(i)).integer(u"ID"));
    }
    QCOMPARE(list.itemText(0), "Ölander, Åsa"); // the query's order, not sorted by name
}

void TestScreenHelpers::pairedComboSelectById_data()
{
    QTest::addColumn<qint64>("id");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("shown");
    QTest::newRow("first") << qint64(10) << true << "Sanders, Sam";
    QTest::newRow("last") << qint64(30) << true << "Smithers, Wayne";
    QTest::newRow("unknown clears") << qint64(99) << false << "";
    QTest::newRow("zero clears") << qint64(0) << false << "";
}

void TestScreenHelpers::pairedComboSelectById()
{
    QFETCH(qint64, id);
    QFETCH(bool, found);
    QFETCH(QString, shown);
    QComboBox list;
    PairedList::fill(&list, {{10, "Sanders, Sam"}, {20, "Smith, John"}, {30, "Smithers, Wayne"}});
    list.setCurrentIndex(1);
    QSignalSpy activated(&list, &QComboBox::activated);

    QCOMPARE(PairedList::selectById(&list, id), found);
    QCOMPARE(list.currentText(), shown);
    QCOMPARE(PairedList::selectedIdOrZero(&list), found ? id : 0);
    QCOMPARE(activated.size(), 0); // choosing by ID is not the user's choice
}

void TestScreenHelpers::pairedListBoxGivesSelectedIds()
{
    QListWidget list;
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    PairedList::fill(&list, {{7, "Choir"}, {3, "Youth Group"}, {5, "Men's Ministry"}});
    QCOMPARE(PairedList::selectedId(&list), std::nullopt);
    QVERIFY(PairedList::selectById(&list, 5));
    QVERIFY(PairedList::selectById(&list, 7));
    QCOMPARE(PairedList::selectedId(&list), 7);
    QCOMPARE(PairedList::selectedIds(&list), (QList<qint64>{7, 5}));
    QVERIFY(!PairedList::selectById(&list, 4));
    QCOMPARE(PairedList::selectedId(&list), std::nullopt);

    PairedList::fill(&list, {{7, "Choir"}});
    QCOMPARE(list.count(), 1);
    QCOMPARE(PairedList::selectedIds(&list), QList<qint64>{});
}

void TestScreenHelpers::selectAllOnFocus_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("reason");
    QTest::newRow("text box, focus by program") << "" << int(Qt::OtherFocusReason);
    QTest::newRow("text box, focus by click") << "" << int(Qt::MouseFocusReason);
    QTest::newRow("text box, focus by Tab") << "" << int(Qt::TabFocusReason);
    QTest::newRow("masked box, focus by Tab") << "(999) 999-9999" << int(Qt::TabFocusReason);
    QTest::newRow("masked box, focus by click") << "(999) 999-9999" << int(Qt::MouseFocusReason);
}

void TestScreenHelpers::selectAllOnFocus()
{
    QFETCH(QString, mask);
    QFETCH(int, reason);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(other);
    layout->addWidget(edit);
    edit->setInputMask(mask);
    edit->setText(mask.isEmpty() ? QStringLiteral("Springfield") : QStringLiteral("5551234567"));
    ::selectAllOnFocus(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());

    if (reason == Qt::MouseFocusReason) {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
    } else {
        edit->setFocus(Qt::FocusReason(reason));
    }
    QTRY_VERIFY(edit->hasFocus());
    QTRY_COMPARE(edit->selectedText(), edit->displayText());

    QTest::keyClicks(edit, mask.isEmpty() ? QStringLiteral("Shelby") : QStringLiteral("6"));
    QCOMPARE(edit->displayText(), mask.isEmpty() ? QString("Shelby") : QString("(6  )    -    "));
}

void TestScreenHelpers::dateSwitchFollowsCheckBox()
{
    QWidget window;
    auto* check = new QCheckBox("<--", &window);
    auto* date = new DateBox(&window);
    auto* dates = new DateSwitch(check, date);

    QVERIFY(!date->isEnabled());
    QCOMPARE(dates->date(), std::nullopt);

    date->setDate(QDate(2026, 1, 4));
    check->click();
    QVERIFY(date->isEnabled());
    QCOMPARE(dates->date(), QDate(2026, 1, 4));
    check->click();
    QVERIFY(!date->isEnabled());
    QCOMPARE(dates->date(), std::nullopt);

    dates->setDate(QDate(1990, 7, 15));
    QVERIFY(check->isChecked());
    QVERIFY(date->isEnabled());
    QCOMPARE(dates->date(), QDate(1990, 7, 15));

    dates->setDate(std::nullopt, QDate(2026, 3, 15));
    QVERIFY(!check->isChecked());
    QVERIFY(!date->isEnabled());
    QCOMPARE(dates->date(), std::nullopt);
    QCOMPARE(date->date(), QDate(2026, 3, 15));
}

void TestScreenHelpers::fileDialogIsAnsweredByTests()
{
    FileDialogs::setNextFileName("/photos/12.jpg");
    FileDialogs::setNextFileName(QString());
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, "Load Picture", "Pictures (*.jpg *.png)"), "/photos/12.jpg");
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, "Load Picture again"), QString());
    QCOMPARE(FileDialogs::takeAsked(), (QStringList{"Load Picture", "Load Picture again"}));
    QCOMPARE(FileDialogs::takeAsked(), QStringList{});
}

namespace {

// A screen whose record never changed, so leaving it asks nothing.
class UnchangedRecord : public RecordEditor
{
public:
    bool hasUnsavedChanges() const override { return false; }
    QString recordName() const override { return {}; }
    bool saveRecord() override { return true; }
};

} // namespace

void TestScreenHelpers::escapeClosesAnOpenListBeforeTheScreen()
{
    UnchangedRecord record;
    QWidget screen;
    auto* list = new QComboBox(&screen);
    list->addItems({"Active", "InActive", "Joined"});
    new QVBoxLayout(&screen);
    screen.layout()->addWidget(list);
    UnsavedChanges::guardClose(&screen, record);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    list->setFocus();

    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Escape);
    QTRY_VERIFY(!list->view()->isVisible());
    QVERIFY(screen.isVisible());

    QTest::keyClick(list, Qt::Key_Escape);
    QTRY_VERIFY(!screen.isVisible());
}

QTEST_MAIN(TestScreenHelpers)
#include "tst_screenhelpers.moc"
