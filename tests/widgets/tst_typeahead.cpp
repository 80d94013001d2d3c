#include "data/database.h"
#include "fakeclock.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/typeahead.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A parent that notes every key that reaches it, to show which keys the list let through.
class KeyRecorder final : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
};

// One typed key: '\b' stands for Backspace, '\r' for Enter, '\x1b' for Escape.
void type(QWidget* target, QChar c)
{
    if (c == u'\b') {
        QTest::keyClick(target, Qt::Key_Backspace);
    } else if (c == u'\r') {
        QTest::keyClick(target, Qt::Key_Return);
    } else if (c == QChar(0x1b)) {
        QTest::keyClick(target, Qt::Key_Escape);
    } else {
        QTest::keyClicks(target, QString(c));
    }
}

} // namespace

class TestTypeAhead : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void searchesByPrefix_data();
    void searchesByPrefix();
    void anotherListStartsANewSearch();
    void selectionTellsListenersLikeAUsersChoice();
    void everyCharacterKeyIsSwallowed();
    void escapeAndEnterCloseTheOpenList();
    void openListScrollsToTheMatch();
    void delayComesFromTheChurchRow();

private:
    QComboBox* makeList(const QStringList& entries);

    std::unique_ptr<TestDatabase> m_testDb;
    FakeClock m_clock;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<KeyRecorder> m_window;
};

void TestTypeAhead::init()
{
    ComboKeySearch::resetForTests();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_window = std::make_unique<KeyRecorder>();
    new QVBoxLayout(m_window.get());
}

void TestTypeAhead::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
}

QComboBox* TestTypeAhead::makeList(const QStringList& entries)
{
    auto* list = new QComboBox(m_window.get());
    list->addItems(entries);
    list->setCurrentIndex(-1);
    m_window->layout()->addWidget(list);
    attachTypeAhead(list, *m_context);
    return list;
}

void TestTypeAhead::searchesByPrefix_data()
{
    QTest::addColumn<double>("delay");
    QTest::addColumn<QString>("keys");
    // Seconds since the previous key, one per key.
    QTest::addColumn<QList<double>>("pauses");
    // The selected entry after each key ("" = none).
    QTest::addColumn<QStringList>("selected");

    QTest::newRow("s m i x within the delay")
        << 2.0 << "smix" << QList<double>{0.5, 0.5, 0.5, 0.5} << QStringList{"Sanders", "Smith", "Smith", "Smith"};
    QTest::newRow("a pause of the delay starts afresh")
        << 2.0 << "smis" << QList<double>{0.5, 0.5, 0.5, 2.0} << QStringList{"Sanders", "Smith", "Smith", "Sanders"};
    QTest::newRow("a letter with no entry after a pause keeps the selection")
        << 2.0 << "sme" << QList<double>{0.5, 0.5, 2.0} << QStringList{"Sanders", "Smith", "Smith"};
    QTest::newRow("just under the delay goes on")
        << 2.0 << "smithe" << QList<double>{0.5, 0.1, 0.1, 0.1, 0.1, 1.99}
        << QStringList{"Sanders", "Smith", "Smith", "Smith", "Smith", "Smithers"};
    QTest::newRow("capitals match too") << 2.0 << "SMITHE" << QList<double>{0.5, 0.1, 0.1, 0.1, 0.1, 0.1}
                                        << QStringList{"Sanders", "Smith", "Smith", "Smith", "Smith", "Smithers"};
    QTest::newRow("delay 0: only the first letter counts")
        << 0.0 << "smi" << QList<double>{0.5, 0.1, 0.1} << QStringList{"Sanders", "Sanders", "Sanders"};
    QTest::newRow("delay 0: each key is a new search")
        << 0.0 << "sw" << QList<double>{0.5, 0.0} << QStringList{"Sanders", "Wayne"};
    QTest::newRow("backspace does not shorten the prefix") << 2.0 << "sa\bm" << QList<double>{0.5, 0.1, 0.1, 0.1}
                                                           << QStringList{"Sanders", "Sanders", "Sanders", "Sanders"};
    QTest::newRow("backspace as the first key selects nothing")
        << 2.0 << "\bs" << QList<double>{0.5, 0.1} << QStringList{"", ""};
    QTest::newRow("enter and escape lengthen the prefix") << 2.0 << "s\r\x1bm" << QList<double>{0.5, 0.1, 0.1, 0.1}
                                                          << QStringList{"Sanders", "Sanders", "Sanders", "Sanders"};
}

void TestTypeAhead::searchesByPrefix()
{
    QFETCH(double, delay);
    QFETCH(QString, keys);
    QFETCH(QList<double>, pauses);
    QFETCH(QStringList, selected);
    TestDatabase::addChurch(m_context->db(), delay);
    QVERIFY(m_context->reloadChurch());

    QComboBox* list = makeList({"Sanders", "Smith", "Smithers", "Wayne"});
    for (qsizetype i = 0; i < keys.size(); ++i) {
        m_clock.advance(pauses.at(i));
        type(list, keys.at(i));
        QCOMPARE(list->currentText(), selected.at(i));
    }
}

void TestTypeAhead::anotherListStartsANewSearch()
{
    TestDatabase::addChurch(m_context->db(), 2.0);
    QVERIFY(m_context->reloadChurch());
    QComboBox* a = makeList({"Sanders", "Smith", "Smithers"});
    QComboBox* b = makeList({"Mary", "Smith"});

    m_clock.advance(5);
    type(a, u's');
    m_clock.advance(0.2);
    type(a, u'm');
    QCOMPARE(a->currentText(), "Smith");
    m_clock.advance(0.2);
    type(b, u'm'); // "smm" would match nothing; a new search in b finds Mary
    QCOMPARE(b->currentText(), "Mary");
    m_clock.advance(0.2);
    type(a, u's'); // back in a: a new search again
    QCOMPARE(a->currentText(), "Sanders");
    QCOMPARE(ComboKeySearch::currentPrefix(), "s");
}

void TestTypeAhead::selectionTellsListenersLikeAUsersChoice()
{
    TestDatabase::addChurch(m_context->db(), 2.0);
    QVERIFY(m_context->reloadChurch());
    QComboBox* list = makeList({"Sanders", "Smith", "Smithers"});
    QSignalSpy activated(list, &QComboBox::activated);
    QSignalSpy changed(list, &QComboBox::currentIndexChanged);

    m_clock.advance(5);
    type(list, u's');
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.takeFirst().at(0).toInt(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.takeFirst().at(0).toInt(), 0);

    m_clock.advance(0.1);
    type(list, u'm');
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.takeFirst().at(0).toInt(), 1);
    QCOMPARE(changed.size(), 1);

    changed.clear();
    m_clock.advance(0.1);
    type(list, u'x'); // no entry: nothing happens
    QCOMPARE(activated.size(), 0);
    QCOMPARE(changed.size(), 0);
}

void TestTypeAhead::everyCharacterKeyIsSwallowed()
{
    TestDatabase::addChurch(m_context->db(), 2.0);
    QVERIFY(m_context->reloadChurch());
    QComboBox* list = makeList({"Sanders", "Smith"});
    m_window->show();

    for (const QChar c : QString("sq \b\r\x1b")) {
        m_clock.advance(0.1);
        type(list, c);
    }
    QCOMPARE(m_window->keys, QList<int>{});
    QCOMPARE(list->currentText(), "Sanders");
    QVERIFY(!list->view()->isVisible()); // the space did not drop the list down

    // Keys that produce no character keep their usual meaning.
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentText(), "Smith");
}

void TestTypeAhead::escapeAndEnterCloseTheOpenList()
{
    QComboBox* list = makeList({"Sanders", "Smith", "Smithers"});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    type(list->view(), QChar(0x1b));
    QTRY_VERIFY(!list->view()->isVisible());
    QCOMPARE(list->currentIndex(), -1);

    // In the open list letters move the highlight to the match without taking it; Enter takes the
    // highlighted entry, the typed one, and closes the list.
    TestDatabase::addChurch(m_context->db(), 2.0);
    QVERIFY(m_context->reloadChurch());
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    type(list->view(), u's');
    QCOMPARE(list->view()->currentIndex().data().toString(), "Sanders");
    QCOMPARE(list->currentIndex(), -1);
    m_clock.advance(0.1);
    type(list->view(), u'm');
    QCOMPARE(list->view()->currentIndex().data().toString(), "Smith");
    type(list->view(), u'\r');
    QTRY_VERIFY(!list->view()->isVisible());
    QCOMPARE(list->currentText(), "Smith");
}

void TestTypeAhead::openListScrollsToTheMatch()
{
    QStringList names;
    for (int i = 0; i < 300; ++i) {
        names << QString("Name %1").arg(i, 3, 10, QChar('0'));
    }
    names << "Zimmer";
    QComboBox* list = makeList(names);
    list->setMaxVisibleItems(10);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());

    type(list->view(), u'z');
    const QModelIndex match = list->view()->currentIndex();
    QCOMPARE(match.data().toString(), "Zimmer");
    const QRect shown = list->view()->viewport()->rect();
    const QRect cell = list->view()->visualRect(match);
    QVERIFY(cell.top() >= shown.top() && cell.bottom() <= shown.bottom());
    type(list->view(), u'\r');
    QTRY_COMPARE(list->currentText(), "Zimmer");
}

void TestTypeAhead::delayComesFromTheChurchRow()
{
    // Without a church row the delay is 0: every key starts a new search.
    QComboBox* list = makeList({"Sanders", "Smith"});
    m_clock.advance(5);
    type(list, u's');
    type(list, u'm');
    QCOMPARE(list->currentText(), "Sanders");

    TestDatabase::addChurch(m_context->db(), 3.0);
    QVERIFY(m_context->reloadChurch());
    m_clock.advance(5);
    type(list, u's');
    m_clock.advance(2.5);
    type(list, u'm');
    QCOMPARE(list->currentText(), "Smith");
}

QTEST_MAIN(TestTypeAhead)
#include "tst_typeahead.moc"
