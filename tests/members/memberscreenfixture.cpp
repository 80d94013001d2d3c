#include "memberscreenfixture.h"

void MemberScreenFixture::setUp()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_clock.setNow(QDateTime(kToday, QTime(9, 30, 0)));
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(db());
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "clerk"});
    m_adultsClass = db().insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    db().insert("INSERT INTO Sunday_School (Name) VALUES ('Youth')");
    db().insert("INSERT INTO Discipleship_Training (Name) VALUES ('Basics')");
    db().insert("INSERT INTO Wednesday_Night (Name) VALUES ('Choir Practice')");
    m_deacon = TestDatabase::addPerson(db(), "Dan", "Deacon");
    db().execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2020-01-01', '2030-12-31')", {m_deacon});
    m_careGroup = db().insert("INSERT INTO Care_Group (Group_Leader) VALUES (?)", {m_deacon});
    db().execute(
        "INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (1, 'Welcome', 'Visit', 7)");
    db().execute(
        "INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (2, 'Follow Up', 'Letter', 14)");
    MessageLog::startRecording();
    FileDialogs::clearNextFileNames();
    ComboKeySearch::resetForTests();
    openScreen();
}

void MemberScreenFixture::tearDown()
{
    delete m_screen;
    m_screen = nullptr;
    MessageLog::stopRecording();
    FileDialogs::clearNextFileNames();
    m_context.reset();
    m_testDb.reset();
}

void MemberScreenFixture::openScreen()
{
    delete m_screen;
    m_screen = new MemberEntryScreen(*m_context);
    m_screen->show();
}

void MemberScreenFixture::grantOnly(const QStringList& permissions)
{
    const qint64 user = TestDatabase::addPerson(db(), "Vera", "Viewer");
    for (const QString& name : permissions) {
        db().execute("INSERT INTO UserPermission (MemberID, PermissionID) SELECT ?, ID FROM Permission WHERE Name = ?",
                     {user, name});
    }
    m_context->setUser({user, "User", "vera"});
}

qint64 MemberScreenFixture::count(const QString& sql, const QVariantList& params) const
{
    return db().scalar(sql, params).toLongLong();
}

void MemberScreenFixture::choose(const QString& listName, const QString& text) const
{
    GuiTest::choose(find<QComboBox>(listName), text);
}

void MemberScreenFixture::type(const QString& boxName, const QString& text) const
{
    GuiTest::type(find<QWidget>(boxName), text);
}

void MemberScreenFixture::click(const QString& buttonName) const
{
    GuiTest::click(find<QPushButton>(buttonName));
}

void MemberScreenFixture::fillRequired(const QString& first, const QString& last) const
{
    choose("cmbMemberStatus", "Member");
    type("txtFName", first);
    type("txtLName", last);
    choose("cmbChurchStatus", "Active");
    choose("cmbProspectStatus", "Active");
}
