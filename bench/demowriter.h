#pragma once

#include "demomodel.h"

#include <QString>
#include <QStringList>

class Database;

// Writes a planned roll into the database, and draws the weekly attendance and the gifts as it writes
// them (millions of rows that need not be held in memory). Every call runs inside the caller's
// transaction.
class DemoWriter final
{
public:
    DemoWriter(Database& db, const Demo::PlannedRoll& roll);
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;

    // The lookup entries the roll uses, the church row, the responsibility catalogue and the outreach plan,
    // each added only where missing. Runs before planning, which reads the outreach plan back.
    static void writeLists(Database& db);
    // People, families, classes, care groups, responsibilities, organizations and prospect contacts.
    void writePeople();
    // Weekly attendance of every person, week by week.
    void writeAttendance();
    // The gifts of every giver.
    void writeContributions();

private:
    int weekIndexOnOrAfter(const QDate& date) const;

    Database& m_db;
    const Demo::PlannedRoll& m_roll;
};
