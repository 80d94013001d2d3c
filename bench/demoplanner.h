#pragma once

#include "demomodel.h"
#include "demoroll.h"

class Database;
class DemoRng;

// Plans the whole demo roll in memory from the options: households and their people, classes, care
// groups, deacons and other responsibilities, organizations, prospect contacts and envelopes. It reads
// the database only for the first free IDs and the outreach plan, and writes nothing.
class DemoPlanner final
{
public:
    DemoPlanner(Database& db, const DemoRollOptions& options);
    DemoPlanner(const DemoPlanner&) = delete;
    DemoPlanner& operator=(const DemoPlanner&) = delete;

    Demo::PlannedRoll plan();

private:
    void planHouseholds();
    void planHousehold(DemoRng& rng, int index);
    int addPerson(DemoRng& rng, Demo::Household& household, int householdIndex, const QString& gender, int age,
                  const QString& relation);
    QString firstName(DemoRng& rng, const QString& gender);
    QString phoneNumber(DemoRng& rng, const QString& areaCode);
    void planChurchData(DemoRng& rng, Demo::Household& household);
    void planPersonDetails(DemoRng& rng, const Demo::Household& household, Demo::Person& person);
    void planLevels(DemoRng& rng, const Demo::Household& household, Demo::Person& person,
                    const std::array<int, Demo::kActivityCount>& householdLevels);
    void planClasses();
    void planCareGroupsAndDeacons();
    void planResponsibilities();
    void planOrganizations();
    void planOutreach();
    void planEnvelopes();
    qint64 takeLeader(DemoRng& rng, bool preferMen = false);
    bool isActiveMemberAdult(const Demo::Person& person) const;
    int ageOf(const Demo::Person& person) const { return Demo::ageOn(person.birth, m_roll.until); }

    Database& m_db;
    DemoRollOptions m_options;
    Demo::PlannedRoll m_roll;
    qint64 m_firstPersonId = 2;
    std::vector<int> m_leaderPool;
    std::vector<int> m_activeAdults;
};
