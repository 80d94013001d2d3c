#pragma once

#include "core/appconfig.h"
#include "core/changenotifier.h"
#include "core/clock.h"
#include "core/screenrequests.h"
#include "services/churchinfo.h"

#include <QString>

#include <functional>
#include <memory>

class Database;
class PeopleModel;

// The logged-in user; empty before the first login, kept through Log Off until the next login.
struct CurrentUser
{
    qint64 memberId = 0;
    QString type;
    QString userName;
};

// What every screen and store of one run shares: the database, the configuration, the church row,
// the current user and the clock. Tests build their own on a temporary database.
class AppContext final
{
public:
    AppContext(std::unique_ptr<Database> db, AppConfig config, Clock& clock = Clock::system());
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Database& db() { return *m_db; }
    // Puts another connection in place of the current one, which is closed: after a restore replaced the
    // file. Every screen must be closed first; the church row and the people are read again from it.
    void replaceDatabase(std::unique_ptr<Database> db);
    // Closes the connection so that the file can be replaced; replaceDatabase() must follow before the
    // database is used again.
    void closeDatabase();
    const AppConfig& config() const { return m_config; }
    Clock& clock() const { return m_clock; }

    const ChurchInfo& church() const { return m_church; }
    // Reloads the church row; false when there is none yet (the values then stay as they were).
    bool reloadChurch();

    const CurrentUser& user() const { return m_user; }
    void setUser(CurrentUser user) { m_user = std::move(user); }

    // Where screens announce what they changed and hear what others changed.
    ChangeNotifier& changes() { return m_changes; }
    // Where screens ask for another screen ("show this person").
    ScreenRequests& requests() { return m_requests; }

    // Makes a backup before an import and waits for it: the empty text when it was made, else why not. The
    // backup feature provides it; without it nothing can be backed up, so an import is refused.
    QString backupBeforeImport() const;
    void setBackupBeforeImport(std::function<QString()> backup) { m_backupBeforeImport = std::move(backup); }

    // Every person in name order, shared by every list of people; read on first use and again whenever a
    // person is saved or deleted. Throws DatabaseError when it cannot be read.
    PeopleModel& people();

private:
    std::unique_ptr<Database> m_db;
    AppConfig m_config;
    Clock& m_clock;
    ChurchInfo m_church;
    CurrentUser m_user;
    ChangeNotifier m_changes;
    ScreenRequests m_requests;
    std::unique_ptr<PeopleModel> m_people;
    std::function<QString()> m_backupBeforeImport;
};
