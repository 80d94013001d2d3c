#pragma once

#include "services/appcontext.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class Database;

// A fresh encrypted database in its own temporary folder, with the schema, the seed rows and a few
// named people. Every test builds its own.
class TestDatabase final
{
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    QString folder() const { return m_dir.path(); }
    QString path() const;

    // A context on a new database (the context owns the connection); pictures go to folder()/pictures/.
    std::unique_ptr<AppContext> makeContext(Clock& clock = Clock::system());
    // A plain connection to a new database.
    std::unique_ptr<Database> open();

    // Adds a person with the given names and statuses; returns his ID.
    static qint64 addPerson(Database& db, const QString& first, const QString& last,
                            const QString& status = QStringLiteral("Member"),
                            const QString& churchStatus = QStringLiteral("Active"));
    // Adds the people every suite may rely on: Sanders, Sam; Smith, John; Smithers, Wayne; O'Brien, Pat;
    // Ölander, Åsa.
    static void addNamedPeople(Database& db);
    // Gives the person a login with the password's hash.
    static void addLogin(Database& db, qint64 memberId, const QString& username, const QString& password,
                         const QString& type = QStringLiteral("User"), int inactive = 0);
    // Grants the person the named permission.
    static void grant(Database& db, qint64 memberId, const QString& permissionName);
    // The IDs of people whose name key is not the key of their names: a writer of names left it out.
    static QList<qint64> peopleWithWrongNameKey(Database& db);
    // Gives the person a middle name, with the name key that goes with it.
    static void setMiddleName(Database& db, qint64 memberId, const QString& middleName);
    // Writes a church row with the given type-ahead delay.
    static void addChurch(Database& db, double keyPressDelay = 2.0);

private:
    void ensureCreated();

    QTemporaryDir m_dir;
    bool m_created = false;
};
