#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>

#include <vector>

class Database;

// One gift as a statement lists it.
struct StatementGift
{
    qint64 id = 0;
    qint64 giverId = 0;
    QDate date;
    QString envelope;
    qint64 cents = 0;
    QString ref;
    QString designation;
    bool deductible = true;
};

// One giving statement: whom it is addressed to and every gift it acknowledges.
struct Statement
{
    // The person it is addressed to: the household's head, or the giver himself.
    qint64 addresseeId = 0;
    bool forHousehold = false;
    // "John and Mary Testerman", as the envelope shows it (HouseholdName).
    QString name;
    // "Testerman, John": the order of the run and the stem of its file.
    QString sortName;
    QString address1;
    QString address2;
    QString city;
    QString state;
    QString zip;
    QString email;
    QString envelopeNumber;
    // The people whose gifts it lists, with the name a gift shows when there is more than one.
    QList<std::pair<qint64, QString>> givers;
    // By deductible first, then designation (in name order), date and entry.
    std::vector<StatementGift> gifts;

    qint64 deductibleCents() const;
    qint64 netCents() const;
    // A street line and a city or zip to send it to.
    bool hasAddress() const;
    // The giver's name to show beside a gift: empty when the statement holds one giver's gifts only.
    QString giverNameOf(qint64 giverId) const;
};

// Who a run of statements is for.
struct StatementScope
{
    enum class Kind { Everybody, Member, Household };
    Kind kind = Kind::Everybody;
    // Member: the person whose gifts the statement holds; Household: any person of the household.
    qint64 personId = 0;
};

// The statements of a period. A person who gives with his household (Member_Statement) shares one statement
// with the people of his household (the head and those linked to him when the run is made) who give with it;
// everybody else, and anybody deleted, gets his own. Every gift dated in the period is on exactly one
// statement. Deceased givers' gifts stay on the statement; the name is made from the living who give together
// (from the givers themselves when none is living). Throws DatabaseError.
class Statements final
{
    Q_DECLARE_TR_FUNCTIONS(Statements)

public:
    // Everybody who gave in the period; one person's statement (the household's when he gives with it); or
    // every statement of a household's people. In name order.
    static std::vector<Statement> collect(Database& db, const QDate& start, const QDate& end,
                                          const StatementScope& scope = {});
};
