#include "memberscreenfixture.h"

#include <QTableView>

// The member screen's Contributions page: the person's gifts in the period and designation shown, their
// total, the page following the entry screen, and a double-click opening a gift there.
class TestMemberScreenContributions : public MemberScreenFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { tearDown(); }

    void showsThePersonsGiftsOfThisYearWithTheirTotal();
    void designationAndPeriodApplyOnRefresh();
    void followsTheEntryScreenAndOpensAGiftThere();
    void anEmptyScreenShowsNoTotal();

private:
    void addGift(const QString& date, qint64 cents, const QString& designation)
    {
        db().execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, EnvelopeNumber, Amount, "
                     "RefNumber, Designation, UserName, DateEntered) VALUES (?, ?, '12', ?, '', ?, 'pat', "
                     "'2026-03-01 08:00:00')",
                     {m_smith, date, cents, designation});
    }
    QStringList column(int c) const
    {
        const QAbstractItemModel* model = find<QTableView>("vsfgMemberContributions")->model();
        QStringList out;
        for (int row = 0; row < model->rowCount(); ++row) {
            out << model->index(row, c).data().toString();
        }
        return out;
    }

    qint64 m_smith = 0;
};

void TestMemberScreenContributions::init()
{
    setUp();
    m_smith = db().scalar("SELECT ID FROM Member WHERE Last_Name = 'Smith'").toLongLong();
    db().execute("DELETE FROM ContributionDesignation");
    db().execute("INSERT INTO ContributionDesignation (Name) VALUES ('General'), ('Missions')");
    // Ten gifts of ten cents, which a binary fraction would not add up to a dollar exactly.
    for (int i = 0; i < 10; ++i) {
        addGift("2026-02-01", 10, "General");
    }
    addGift("2026-03-15", 2500, "Missions"); // today, the end of the default period
    addGift("2025-12-31", 9900, "General");  // last year
    openScreen();
    m_screen->loadMember(m_smith);
}

void TestMemberScreenContributions::showsThePersonsGiftsOfThisYearWithTheirTotal()
{
    QCOMPARE(column(3).size(), 11);
    QCOMPARE(column(3).front(), "$25.00"); // newest first
    QCOMPARE(column(5).front(), "Missions");
    QCOMPARE(find<QLineEdit>("txtContributionTotal")->text(), "$26.00");
    const QAbstractItemModel* model = find<QTableView>("vsfgMemberContributions")->model();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) {
        headers << model->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(headers,
             (QStringList{"ID", "Date", "Env. No.", "Amount", "Ref. No.", "Designation", "User", "Date/Time"}));
}

void TestMemberScreenContributions::designationAndPeriodApplyOnRefresh()
{
    choose("cmbContributionDesignation", "General");
    QCOMPARE(column(0).size(), 11); // nothing happens before Refresh
    click("btnRefreshContributions");
    QCOMPARE(column(0).size(), 10);
    QCOMPARE(find<QLineEdit>("txtContributionTotal")->text(), "$1.00");

    type("dtContributionStartDate", "2025-01-01");
    click("btnRefreshContributions");
    QCOMPARE(find<QLineEdit>("txtContributionTotal")->text(), "$100.00");

    // Another person brings back this year and every designation.
    m_screen->loadMember(m_deacon);
    QCOMPARE(find<QComboBox>("cmbContributionDesignation")->currentIndex(), 0);
    QCOMPARE(find<DateBox>("dtContributionStartDate")->date(), QDate(2026, 1, 1));
    QCOMPARE(find<QLineEdit>("txtContributionTotal")->text(), "$0.00");
}

void TestMemberScreenContributions::followsTheEntryScreenAndOpensAGiftThere()
{
    db().execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                 "VALUES (?, '2026-03-10', -2000, 'General')",
                 {m_smith});
    emit m_context->changes().contributionsChanged(m_smith);
    QCOMPARE(find<QLineEdit>("txtContributionTotal")->text(), "$6.00");

    db().execute("DELETE FROM Member_Contributions WHERE Amount > 100");
    emit m_context->changes().contributionsChanged(m_smith);
    QCOMPARE(find<QLineEdit>("txtContributionTotal")->text(), "($19.00)");

    QSignalSpy opened(&m_context->requests(), &ScreenRequests::showContribution);
    find<QTabWidget>("SSTab1")->setCurrentIndex(MemberEntryScreen::TabContributions);
    auto* grid = find<QTableView>("vsfgMemberContributions");
    QTRY_VERIFY(grid->isVisible());
    const QModelIndex first = grid->model()->index(0, 1);
    // A double-click is a click, then a second one.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(first).center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(first).center());
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0][0].toLongLong(), grid->model()->index(0, 0).data().toLongLong());
}

void TestMemberScreenContributions::anEmptyScreenShowsNoTotal()
{
    QVERIFY(!find<QLineEdit>("txtContributionTotal")->text().isEmpty());
    click("btnNew");
    QVERIFY(find<QLineEdit>("txtContributionTotal")->text().isEmpty());
    QCOMPARE(find<QTableView>("vsfgMemberContributions")->model()->rowCount(), 0);
}

QTEST_MAIN(TestMemberScreenContributions)
#include "tst_memberscreencontributions.moc"
