#pragma once

#include "core/household.h"

#include <QList>
#include <QString>

#include <vector>

class Database;

// A household as a mailing addresses it: the head whose address it uses, its living people (the head first
// when living, then his relatives: the spouse first, then by age) and the people of the run it holds.
struct Household
{
    qint64 headId = 0;
    QString headSortName; // "Last, First" of the head
    QString address1;
    QString address2;
    QString city;
    QString state;
    QString zip;
    std::vector<HouseholdPerson> people;
    // The people asked for who belong here, in name order, with their "Last, First".
    QList<std::pair<qint64, QString>> chosen;

    // A street line and a city or zip to send it to.
    bool hasAddress() const;
};

// The households of a list of people, formed by the family links:
// - a person marked head of household heads his own household, unless he and another marked head link each
//   other (a couple both marked): then the one with the lower ID heads both;
// - anyone else belongs to the household of the head who linked him (a marked head before others, then the
//   lowest ID), and through him to that head's household;
// - a person nobody linked is a household of his own.
// Deleted and deceased people are nobody's household people. Households come in their heads' name order.
// Throws DatabaseError.
std::vector<Household> householdsOf(Database& db, const QList<qint64>& ids);
