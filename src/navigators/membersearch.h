#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// What the user asked for on the member navigator. An empty text, a missing value or month 0 means
// that the criterion is not used.
struct MemberSearchCriteria
{
    QString name;
    bool memberSinceUsed = false;
    QDate memberSinceFrom;
    QDate memberSinceTo;
    QString search;
    QString memberStatus;
    QString churchStatus;
    QString prospectStatus;
    int birthOrAnniversaryMonth = 0; // 1 = January ... 12 = December
    QString mapSection;
    std::optional<qint64> sundaySchoolClass;
    std::optional<qint64> careGroup;
    std::optional<qint64> discipleshipClass;
    std::optional<qint64> wednesdayClass;
    std::optional<qint64> deacon;
    QString responsibility;
    std::optional<bool> receiveNewsletterViaMail;
    std::optional<bool> headOfHousehold;
    QString organization;
};

// A statement with its bound values.
struct SqlStatement
{
    QString sql;
    QVariantList params;
};

// Builds the WHERE part of a search: each condition added is joined to the ones before by AND, the first
// one after " WHERE ". Searches over Member compose their own criteria with it after the member search's.
class WhereClause final
{
public:
    // Goes on after the conditions the statement holds already.
    explicit WhereClause(SqlStatement& statement)
        : m_statement(statement)
        , m_first(statement.sql.isEmpty())
    {}

    void add(const QString& condition, const QVariantList& params = {});
    // The typed text anywhere in any of the columns: * and ? are wildcards, everything else literal.
    void addContains(const QStringList& columns, const QString& typed);
    // The column equals the value without regard to letter case.
    void addTextEquals(const QString& column, const QString& value);

private:
    SqlStatement& m_statement;
    bool m_first;
};

namespace MemberSearch {

// The columns of Member the navigator's grid shows, in the order MemberGridModel reads them.
QString selectedColumns();

// One SELECT over Member: every criterion in use adds its condition, joined by AND, in a fixed order;
// the people come sorted by name. Every value is bound; * and ? in the text criteria are the user's
// wildcards, everything else is matched literally and without regard to letter case. The name is matched
// against the folded name keys, so accents are ignored too.
SqlStatement compose(const MemberSearchCriteria& criteria);
// The same search giving only the IDs, in the same order: all a grid needs to count the people found and to read
// them page by page. Without other criteria than the name it is answered from the name index alone.
SqlStatement composeIds(const MemberSearchCriteria& criteria);

// compose()'s conditions alone: " WHERE ..." over Member with its bound values, or nothing when no
// criterion is in use. Other searches over Member add their own conditions after these.
SqlStatement conditions(const MemberSearchCriteria& criteria);
// compose()'s ORDER BY terms: last, first and middle name in filing order, then the ID.
QString nameOrder();

} // namespace MemberSearch
