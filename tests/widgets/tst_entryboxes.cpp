#include "core/textformat.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/inputchecks.h"
#include "widgets/messages.h"
#include "widgets/phonebox.h"
#include "widgets/screenhelpers.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A window with a box between two line edits, laid out in captioned rows as the screens do.
struct Form
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QGridLayout* layout = new QGridLayout(window.get());
    QLineEdit* before = nullptr;
    QLineEdit* after = nullptr;
    int row = 0;

    void addRow(const QString& caption, QWidget* control, QWidget* extra = nullptr)
    {
        layout->addWidget(new QLabel(caption, window.get()), row, 0);
        layout->addWidget(control, row, 1);
        if (extra) {
            layout->addWidget(extra, row, 2);
        }
        ++row;
    }
    QLineEdit* lineEdit(const QString& caption)
    {
        auto* edit = new QLineEdit(window.get());
        addRow(caption, edit);
        return edit;
    }
    bool show()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
};

QStringList shownTexts()
{
    QStringList texts;
    for (const MessageLog::Shown& shown : MessageLog::takeShown()) {
        texts << shown.title + " | " + shown.text;
    }
    return texts;
}

// Types as a keyboard does: each key goes to the widget that has the focus at that moment.
void typeIntoFocus(const QString& text)
{
    for (const QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), char(c.unicode()));
    }
}

} // namespace

class TestEntryBoxes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typedDateIsTakenAndTabLeaves_data();
    void typedDateIsTakenAndTabLeaves();
    void typingReplacesTheWholeDate_data();
    void typingReplacesTheWholeDate();
    void badDateIsRefusedNamingTheBoxAndKept_data();
    void badDateIsRefusedNamingTheBoxAndKept();
    void switchingToAnotherProgramReportsNothing();
    void calendarOpensFromTheKeyboard();
    void checkBoxComesBeforeItsDate();
    void typingOnTheCheckBoxTicksItAndFillsTheDate();
    void typingIntoAnOpenUntickedDateTicksIt();
    void phoneBoxShowsTheStoredForm_data();
    void phoneBoxShowsTheStoredForm();
    void checkEntriesNamesTheFirstBadBox();
    void fieldNameOfABox();
    void cLocaleBoxShowsAndReadsTheMonthFirst();
};

void TestEntryBoxes::initTestCase()
{
    // The boxes follow the locale's order: month first here.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestEntryBoxes::init()
{
    MessageLog::startRecording();
}

void TestEntryBoxes::cleanup()
{
    MessageLog::stopRecording();
}

void TestEntryBoxes::typedDateIsTakenAndTabLeaves_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("short form") << shortDate(QDate(1975, 3, 15));
    QTest::newRow("short form with leading zeros") << "03/15/1975";
    QTest::newRow("ISO") << "1975-03-15";
    QTest::newRow("month named") << "March 15, 1975";
}

void TestEntryBoxes::typedDateIsTakenAndTabLeaves()
{
    QFETCH(QString, typed);
    Form form;
    form.before = form.lineEdit("Before");
    auto* box = Controls::datePicker(form.window.get(), "dtDOB");
    form.addRow("Date of Birth", box);
    form.after = form.lineEdit("After");
    box->setDate(QDate(2001, 2, 3));
    QVERIFY(form.show());
    QSignalSpy changed(box, &DateBox::dateChanged);

    form.before->setFocus();
    QTest::keyClick(form.before, Qt::Key_Tab);
    QVERIFY(box->lineEdit()->hasFocus());
    QCOMPARE(box->lineEdit()->selectedText(), shortDate(QDate(2001, 2, 3)));
    QTest::keyClicks(box->lineEdit(), typed);
    QTest::keyClick(box->lineEdit(), Qt::Key_Tab);

    // One Tab leaves the box: no stop at day, month, year or the calendar button.
    QVERIFY(form.after->hasFocus());
    QCOMPARE(box->date(), QDate(1975, 3, 15));
    QCOMPARE(box->lineEdit()->text(), shortDate(QDate(1975, 3, 15)));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(shownTexts(), QStringList());
}

void TestEntryBoxes::typingReplacesTheWholeDate_data()
{
    QTest::addColumn<bool>("byShortcut");
    QTest::newRow("focus by Shift+Tab") << false;
    QTest::newRow("Ctrl+A in the box") << true;
}

void TestEntryBoxes::typingReplacesTheWholeDate()
{
    QFETCH(bool, byShortcut);
    Form form;
    auto* box = Controls::datePicker(form.window.get(), "dtStart");
    form.addRow("Start", box);
    form.after = form.lineEdit("After");
    box->setDate(QDate(2001, 2, 3));
    QVERIFY(form.show());

    form.after->setFocus();
    QTest::keyClick(form.after, Qt::Key_Backtab);
    QVERIFY(box->lineEdit()->hasFocus());
    if (byShortcut) {
        box->lineEdit()->end(false);
        QVERIFY(!box->lineEdit()->hasSelectedText());
        QTest::keyClick(box->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    }
    QTest::keyClicks(box->lineEdit(), shortDate(QDate(1976, 7, 4)));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(box->date(), QDate(1976, 7, 4));
    QCOMPARE(box->lineEdit()->text(), shortDate(QDate(1976, 7, 4)));
    QCOMPARE(shownTexts(), QStringList());
}

void TestEntryBoxes::badDateIsRefusedNamingTheBoxAndKept_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such day") << "02/30/2020"
                                 << "Date of Birth: \"02/30/2020\" is not a date. February 2020 has no day 30.";
    QTest::newRow("no such month") << "13/01/2020"
                                   << "Date of Birth: \"13/01/2020\" is not a date. There is no month 13.";
    QTest::newRow("two-digit year") << "1/1/20"
                                    << "Date of Birth: \"1/1/20\" is not a date. The year 20 could be 1920 or 2020: "
                                       "type all four digits of the year.";
    QTest::newRow("no date at all") << "soon"
                                    << "Date of Birth: \"soon\" is not a date. Type a date like 3/15/1975 or "
                                       "1975-03-15.";
}

void TestEntryBoxes::badDateIsRefusedNamingTheBoxAndKept()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Form form;
    auto* box = Controls::datePicker(form.window.get(), "dtDOB");
    form.addRow("Date of Birth", box);
    form.after = form.lineEdit("After");
    box->setDate(QDate(2001, 2, 3));
    QVERIFY(form.show());
    QSignalSpy changed(box, &DateBox::dateChanged);

    box->setFocus();
    QTest::keyClicks(box->lineEdit(), typed);
    QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
    QCOMPARE(shownTexts(), QStringList{"Not a Date | " + message});
    QCOMPARE(box->lineEdit()->text(), typed);
    QCOMPARE(box->date(), QDate(2001, 2, 3));
    QCOMPARE(changed.count(), 0);

    // Passing through the box again does not repeat the message; a save is refused by it.
    QTest::keyClick(form.after, Qt::Key_Backtab);
    QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
    QCOMPARE(shownTexts(), QStringList());
    QCOMPARE(box->lineEdit()->text(), typed);
    const auto bad = Controls::checkEntries(form.window.get());
    QVERIFY(bad.has_value());
    QCOMPARE(bad->box, box);
    QCOMPARE(bad->message, message);
    QVERIFY(!Controls::acceptEntries(form.window.get()));
    QCOMPARE(shownTexts(), QStringList{"Not a Date | " + message});
    QVERIFY(box->lineEdit()->hasFocus());

    // Mended, it is taken.
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), shortDate(QDate(2020, 2, 28)));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(box->date(), QDate(2020, 2, 28));
    QCOMPARE(Controls::checkEntries(form.window.get()).has_value(), false);
    QCOMPARE(shownTexts(), QStringList());
}

void TestEntryBoxes::switchingToAnotherProgramReportsNothing()
{
    Form form;
    auto* box = Controls::datePicker(form.window.get(), "dtDOB");
    form.addRow("Date of Birth", box);
    PhoneBox* phone = Controls::phoneBox(form.window.get(), "txtHomePhone");
    form.addRow("Home Phone", phone);
    QVERIFY(form.show());
    QTest::keyClicks(box->lineEdit(), "3/15/19");
    QTest::keyClicks(phone, "615-555-CALL");
    // Half-typed when the user turns to another window: no message, the texts wait.
    for (QWidget* edit : std::initializer_list<QWidget*>{box->lineEdit(), phone}) {
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(edit, &out);
    }
    QCOMPARE(shownTexts(), QStringList());
    QCOMPARE(box->lineEdit()->text(), QString("3/15/19"));
    QCOMPARE(phone->text(), QString("615-555-CALL"));
    QVERIFY(Controls::checkEntries(form.window.get()).has_value());
}

void TestEntryBoxes::calendarOpensFromTheKeyboard()
{
    Form form;
    auto* box = Controls::datePicker(form.window.get(), "dtStart");
    form.addRow("Start", box);
    form.after = form.lineEdit("After");
    box->setDate(QDate(2026, 3, 15));
    QVERIFY(form.show());
    QSignalSpy edited(box, &DateBox::edited);

    box->setFocus();
    QTest::keyClick(box->lineEdit(), Qt::Key_Down, Qt::AltModifier);
    QCalendarWidget* calendar = box->calendar();
    QVERIFY(calendar != nullptr);
    QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 15));
    QTRY_VERIFY(calendar->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QCOMPARE(box->calendar(), nullptr);
    QCOMPARE(box->date(), QDate(2026, 3, 16));
    QCOMPARE(edited.count(), 1);
    QTRY_VERIFY(box->lineEdit()->hasFocus());
    QCOMPARE(shownTexts(), QStringList());

    // Escape closes it without a change.
    QTest::keyClick(box->lineEdit(), Qt::Key_F4);
    QVERIFY(box->calendar() != nullptr);
    QTRY_VERIFY(box->calendar()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(box->calendar(), nullptr);
    QCOMPARE(box->date(), QDate(2026, 3, 16));
}

void TestEntryBoxes::checkBoxComesBeforeItsDate()
{
    Form form;
    form.before = form.lineEdit("Before");
    DateSwitch* baptized = Controls::switchedDate(form.window.get(), "dtBaptized", "chkBaptized");
    form.addRow("Baptized", baptized->dateEdit(), baptized->checkBox());
    form.after = form.lineEdit("After");
    baptized->setDate(std::nullopt, QDate(2026, 3, 15));
    QVERIFY(form.show());

    form.before->setFocus();
    QTest::keyClick(form.before, Qt::Key_Tab);
    QVERIFY(baptized->checkBox()->hasFocus());
    QTest::keyClick(baptized->checkBox(), Qt::Key_Space);
    QVERIFY(baptized->checkBox()->isChecked());
    QTest::keyClick(baptized->checkBox(), Qt::Key_Tab);
    QVERIFY(baptized->dateEdit()->lineEdit()->hasFocus());
    QTest::keyClicks(baptized->dateEdit()->lineEdit(), "3/15/1975");
    QTest::keyClick(baptized->dateEdit()->lineEdit(), Qt::Key_Tab);
    QVERIFY(form.after->hasFocus());
    QCOMPARE(baptized->date(), QDate(1975, 3, 15));
}

void TestEntryBoxes::typingOnTheCheckBoxTicksItAndFillsTheDate()
{
    Form form;
    form.before = form.lineEdit("Before");
    DateSwitch* baptized = Controls::switchedDate(form.window.get(), "dtBaptized", "chkBaptized");
    form.addRow("Baptized", baptized->dateEdit(), baptized->checkBox());
    form.after = form.lineEdit("After");
    baptized->setDate(std::nullopt, QDate(2026, 3, 15));
    QVERIFY(form.show());
    QVERIFY(!baptized->dateEdit()->isEnabled());

    form.before->setFocus();
    QTest::keyClick(form.before, Qt::Key_Tab);
    QVERIFY(baptized->checkBox()->hasFocus());
    typeIntoFocus(shortDate(QDate(1975, 3, 15)));
    QVERIFY(baptized->checkBox()->isChecked());
    QVERIFY(baptized->dateEdit()->lineEdit()->hasFocus());
    QCOMPARE(baptized->dateEdit()->lineEdit()->text(), shortDate(QDate(1975, 3, 15)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(form.after->hasFocus());
    QCOMPARE(baptized->date(), QDate(1975, 3, 15));

    // Unticked, the date is gone, and so is a text that was typed but not taken.
    QTest::keyClick(form.after, Qt::Key_Backtab);
    QTest::keyClicks(baptized->dateEdit()->lineEdit(), "junk");
    baptized->checkBox()->click();
    QCOMPARE(baptized->date(), std::nullopt);
    QCOMPARE(baptized->dateEdit()->lineEdit()->text(), shortDate(QDate(1975, 3, 15)));
    QCOMPARE(Controls::checkEntries(form.window.get()).has_value(), false);
    QCOMPARE(shownTexts(), QStringList());
}

void TestEntryBoxes::typingIntoAnOpenUntickedDateTicksIt()
{
    // A screen may open a date box before its check box is ticked; what the user types there is kept.
    Form form;
    DateSwitch* since = Controls::switchedDate(form.window.get(), "dtMemberSince", "chkMemberSince");
    form.addRow("Member Since", since->dateEdit(), since->checkBox());
    since->setDate(std::nullopt, QDate(2026, 3, 15));
    since->dateEdit()->setEnabled(true);
    QVERIFY(form.show());

    since->dateEdit()->setFocus();
    QTest::keyClicks(since->dateEdit()->lineEdit(), shortDate(QDate(2001, 1, 5)));
    QVERIFY(since->checkBox()->isChecked());
    QVERIFY(Controls::acceptEntries(form.window.get()));
    QCOMPARE(since->date(), QDate(2001, 1, 5));
}

void TestEntryBoxes::phoneBoxShowsTheStoredForm_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("dots") << "615.555.1234"
                          << "(615) 555-1234" << QStringList();
    QTest::newRow("country code") << "+1 615-555-1234"
                                  << "(615) 555-1234" << QStringList();
    QTest::newRow("seven digits as typed") << "555-1234"
                                           << "555-1234" << QStringList();
    QTest::newRow("letters are kept and refused")
        << "615-CALL-NOW"
        << "615-CALL-NOW"
        << QStringList{"Not a Phone Number | Home Phone: \"615-CALL-NOW\" is not a phone number. Type its digits, "
                       "for example 615 555 1234."};
}

void TestEntryBoxes::phoneBoxShowsTheStoredForm()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, messages);
    Form form;
    PhoneBox* phone = Controls::phoneBox(form.window.get(), "txtHomePhone");
    form.addRow("Home Phone", phone);
    form.after = form.lineEdit("After");
    QVERIFY(form.show());

    phone->setFocus();
    QTest::keyClicks(phone, typed);
    QTest::keyClick(phone, Qt::Key_Tab);
    QVERIFY(form.after->hasFocus());
    QCOMPARE(phone->text(), shown);
    QCOMPARE(shownTexts(), messages);
    QCOMPARE(phone->number().has_value(), messages.isEmpty());
}

void TestEntryBoxes::checkEntriesNamesTheFirstBadBox()
{
    Form form;
    PhoneBox* home = Controls::phoneBox(form.window.get(), "txtHomePhone");
    form.addRow("Home Phone", home);
    PhoneBox* cell = Controls::phoneBox(form.window.get(), "txtCell");
    form.addRow("Cell", cell);
    DateBox* start = Controls::datePicker(form.window.get(), "dtStart");
    form.addRow("Start", start);
    home->setText("615 555 1234");
    cell->setText("ann@example.org");
    start->lineEdit()->setText(shortDate(QDate(2025, 12, 1)));

    // Every good box is taken, the first bad one is named, nothing is shown.
    const auto bad = Controls::checkEntries(form.window.get());
    QVERIFY(bad.has_value());
    QCOMPARE(bad->box, cell);
    QCOMPARE(bad->title, QString("Not a Phone Number"));
    QCOMPARE(bad->message,
             QString("Cell: \"ann@example.org\" is not a phone number. Type its digits, for example 615 555 1234."));
    QCOMPARE(home->text(), QString("(615) 555-1234"));
    QCOMPARE(start->date(), QDate(2025, 12, 1));
    QCOMPARE(shownTexts(), QStringList());

    cell->clear();
    QCOMPARE(Controls::checkEntries(form.window.get()).has_value(), false);
}

void TestEntryBoxes::fieldNameOfABox()
{
    QWidget window;
    auto* grid = new QGridLayout(&window);
    auto* inGrid = new QLineEdit(&window);
    grid->addWidget(new QLabel("&Home Phone:", &window), 0, 0);
    grid->addWidget(inGrid, 0, 1);
    auto* named = new QLineEdit(&window);
    named->setAccessibleName("Contributions From");
    grid->addWidget(new QLabel("From", &window), 1, 0);
    grid->addWidget(named, 1, 1);
    auto* row = new QHBoxLayout;
    auto* inRow = new QLineEdit(&window);
    row->addWidget(new QLabel("Next Contact", &window));
    row->addWidget(inRow);
    grid->addLayout(row, 2, 0, 1, 2);
    auto* withBuddy = new QLineEdit(&window);
    auto* buddyLabel = new QLabel("E-&mail", &window);
    buddyLabel->setBuddy(withBuddy);
    grid->addWidget(withBuddy, 3, 0);
    grid->addWidget(buddyLabel, 3, 1);
    auto* bare = new QLineEdit(&window);
    bare->setObjectName("txtBare");
    grid->addWidget(bare, 4, 0);

    QCOMPARE(Controls::fieldName(inGrid), QString("Home Phone"));
    QCOMPARE(Controls::fieldName(named), QString("Contributions From"));
    QCOMPARE(Controls::fieldName(inRow), QString("Next Contact"));
    QCOMPARE(Controls::fieldName(withBuddy), QString("E-mail"));
    QCOMPARE(Controls::fieldName(bare), QString("txtBare"));
}

void TestEntryBoxes::cLocaleBoxShowsAndReadsTheMonthFirst()
{
    // A desktop without a language (LANG=C) shows and reads dates as the reports write them, month first.
    Form form;
    auto* box = Controls::datePicker(form.window.get(), "dtDOB");
    form.addRow("Date of Birth", box);
    box->setLocale(QLocale::c());
    box->setDate(QDate(1981, 3, 14));
    QCOMPARE(box->lineEdit()->text(), QString("3/14/1981"));
    QVERIFY(form.show());

    box->setDate(QDate(2001, 2, 3));
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), shortDate(QDate(1981, 3, 14), QLocale::c()));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(box->date(), QDate(1981, 3, 14));
    QCOMPARE(shownTexts(), QStringList());
}

QTEST_MAIN(TestEntryBoxes)
#include "tst_entryboxes.moc"
