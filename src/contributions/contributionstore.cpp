#include "contributions/contributionstore.h"

#include "core/clock.h"
#include "core/money.h"
#include "core/textformat.h"
#include "data/database.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

namespace {

const QString& giftColumns()
{
    static const QString columns = QStringLiteral("ID, MemberID, ContributionDate, EnvelopeNumber, Amount, RefNumber, "
                                                  "Designation, UserName, DateEntered");
    return columns;
}

// People in the order the contribution list shows them: last, first and middle name, then ID.
QString byName()
{
    return Database::sortText(QStringLiteral("Last_Name")) + u',' + Database::sortText(QStringLiteral("First_Name")) +
           u',' + Database::sortText(QStringLiteral("Middle_Name")) + QStringLiteral(", ID");
}

QString textAt(const Query& q, int column)
{
    const QVariant value = q.value(column);
    return value.isNull() ? QString() : value.toString();
}

// A gift from a row of giftColumns().
Contribution giftAt(const Query& q)
{
    Contribution gift;
    gift.id = q.value(0).toLongLong();
    gift.memberId = q.value(1).toLongLong();
    gift.date = SqlValue::toDate(q.value(2)).value_or(QDate());
    gift.envelopeNumber = textAt(q, 3);
    gift.amountCents = q.value(4).toLongLong();
    gift.refNumber = textAt(q, 5);
    gift.designation = textAt(q, 6);
    gift.userName = textAt(q, 7);
    gift.dateEntered = SqlValue::toDateTime(q.value(8)).value_or(QDateTime());
    return gift;
}

} // namespace

EnvelopeIndex::EnvelopeIndex(const QList<ContributionMember>& people)
{
    m_first.reserve(people.size());
    for (int i = 0; i < people.size(); ++i) {
        const QString& envelope = people.at(i).envelope;
        if (!envelope.isEmpty() && !m_first.contains(envelope)) {
            m_first.insert(envelope, i);
        }
    }
}

std::optional<int> EnvelopeIndex::positionOf(const QString& envelope) const
{
    const auto found = m_first.constFind(envelope);
    if (envelope.isEmpty() || found == m_first.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

ContributionStore::ContributionStore(Database& db, Clock& clock)
    : m_db(db)
    , m_clock(clock)
{}

QList<ContributionMember> ContributionStore::entryList()
{
    QList<ContributionMember> people;
    Query q = m_db.query(QStringLiteral("SELECT First_Name, Middle_Name, Last_Name, ID, Envelope FROM Member "
                                        "WHERE ShowInContributionList = ? ORDER BY ") +
                             byName(),
                         {1});
    while (q.next()) {
        people.push_back(
            {q.value(3).toLongLong(), personNameWithoutTitle(textAt(q, 2), textAt(q, 0), textAt(q, 1)), textAt(q, 4)});
    }
    return people;
}

std::optional<UnlistedEnvelopeHolder> ContributionStore::holderOffTheList(const QString& envelope)
{
    Query q = m_db.query(QStringLiteral("SELECT First_Name, Middle_Name, Last_Name, Status FROM Member "
                                        "WHERE Envelope = ? AND coalesce(ShowInContributionList, 0) <> ? ORDER BY ") +
                             byName() + QStringLiteral(" LIMIT 1"),
                         {envelope, 1});
    if (!q.next()) {
        return std::nullopt;
    }
    return UnlistedEnvelopeHolder{personNameWithoutTitle(textAt(q, 2), textAt(q, 0), textAt(q, 1)).trimmed(),
                                  textAt(q, 3)};
}

QStringList ContributionStore::designations()
{
    return m_db.texts(QStringLiteral("SELECT Name FROM ContributionDesignation ORDER BY ") +
                      Database::sortText(QStringLiteral("Name")));
}

std::optional<Contribution> ContributionStore::load(qint64 id)
{
    Query q = m_db.query(QStringLiteral("SELECT ") + giftColumns() +
                             QStringLiteral(" FROM Member_Contributions "
                                            "WHERE ID = ?"),
                         {id});
    if (!q.next()) {
        return std::nullopt;
    }
    return giftAt(q);
}

ContributionSaveResult ContributionStore::save(Contribution& gift, const QString& userName)
{
    ContributionSaveResult result;
    const auto refuse = [&result](ContributionSaveStatus status, const QString& title, const QString& message) {
        result.status = status;
        result.title = title;
        result.message = message;
        return result;
    };
    if (gift.memberId <= 0 || gift.designation.trimmed().isEmpty()) {
        return refuse(ContributionSaveStatus::MissingRequiredFields, tr("Required Fields"),
                      tr("Member, Amount, and Designation are Required."));
    }
    if (gift.amountCents > kAmountLimitCents || gift.amountCents < -kAmountLimitCents) {
        return refuse(ContributionSaveStatus::AmountOutOfRange, tr("Invalid Amount"),
                      tr("The Amount may be at most %1, and at least %2.")
                          .arg(formatAmount(kAmountLimitCents), formatAmount(-kAmountLimitCents)));
    }
    QDateTime now = m_clock.now();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));

    Transaction transaction(m_db);
    if (gift.id != 0 &&
        !m_db.selectOne(QStringLiteral("SELECT ID FROM Member_Contributions WHERE ID = ?"), {gift.id})) {
        return refuse(ContributionSaveStatus::ContributionMissing, tr("Missing Contribution"),
                      tr("This contribution no longer exists."));
    }
    if (!m_db.selectOne(QStringLiteral("SELECT ID FROM Member WHERE ID = ?"), {gift.memberId})) {
        return refuse(ContributionSaveStatus::MemberMissing, tr("Missing Member"),
                      tr("This person is no longer on the roll; the gift was not saved."));
    }
    const QVariantList values = {gift.memberId,
                                 SqlValue::optionalDate(gift.date),
                                 gift.envelopeNumber,
                                 gift.amountCents,
                                 gift.refNumber,
                                 gift.designation,
                                 userName,
                                 SqlValue::fromDateTime(now)};
    qint64 id = gift.id;
    if (id == 0) {
        id = m_db.insert(QStringLiteral("INSERT INTO Member_Contributions (MemberID, ContributionDate, "
                                        "EnvelopeNumber, Amount, RefNumber, Designation, UserName, DateEntered) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                         values);
        result.inserted = true;
    } else {
        m_db.execute(QStringLiteral("UPDATE Member_Contributions SET MemberID = ?, ContributionDate = ?, "
                                    "EnvelopeNumber = ?, Amount = ?, RefNumber = ?, Designation = ?, UserName = ?, "
                                    "DateEntered = ? WHERE ID = ?"),
                     QVariantList(values) << id);
    }
    transaction.commit();
    gift.id = id;
    gift.userName = userName;
    gift.dateEntered = now;
    return result;
}

bool ContributionStore::remove(qint64 id)
{
    return m_db.execute(QStringLiteral("DELETE FROM Member_Contributions WHERE ID = ?"), {id}) > 0;
}

ContributionList ContributionStore::memberContributions(qint64 memberId, const QDate& start, const QDate& end,
                                                        const std::optional<QString>& designation)
{
    // The end bound is the day after the last day, so that a date stored with a time still counts.
    QString sql = QStringLiteral("SELECT ") + giftColumns() +
                  QStringLiteral(" FROM Member_Contributions WHERE MemberID = ? AND ContributionDate >= ? "
                                 "AND ContributionDate < ?");
    QVariantList params = {memberId, SqlValue::fromDate(start), SqlValue::fromDate(end.addDays(1))};
    if (designation) {
        sql += QStringLiteral(" AND Designation = ?");
        params << *designation;
    }
    sql += QStringLiteral(" ORDER BY ContributionDate DESC, ID DESC");
    ContributionList list;
    Query q = m_db.query(sql, params);
    while (q.next()) {
        list.gifts.push_back(giftAt(q));
        list.totalCents += list.gifts.back().amountCents;
    }
    return list;
}

QList<int> ContributionStore::contributionYears()
{
    // One step down the date index per year: the latest date before the first day of the year last
    // found. Every ISO date sorts before "A", so the first step finds the latest date of all.
    QList<int> years;
    QString before = QStringLiteral("A");
    for (;;) {
        const QVariant latest =
            m_db.scalar(QStringLiteral("SELECT ContributionDate FROM Member_Contributions WHERE ContributionDate < ? "
                                       "ORDER BY ContributionDate DESC LIMIT 1"),
                        {before});
        if (latest.isNull()) {
            break;
        }
        const auto date = SqlValue::toDate(latest);
        if (!date || date->year() < 1) {
            before = latest.toString(); // not a date: step past it
            continue;
        }
        years << date->year();
        before = SqlValue::fromDate(QDate(date->year(), 1, 1));
    }
    return years;
}

std::vector<std::pair<QDate, qint64>> ContributionList::monthlyTotals(const QDate& start, const QDate& end) const
{
    std::vector<std::pair<QDate, qint64>> months;
    if (!start.isValid() || !end.isValid() || start > end) {
        return months;
    }
    for (QDate month(start.year(), start.month(), 1); month <= end; month = month.addMonths(1)) {
        months.emplace_back(month, 0);
    }
    for (const Contribution& gift : gifts) {
        const QDate month(gift.date.year(), gift.date.month(), 1);
        const auto found =
            std::find_if(months.begin(), months.end(), [&month](const auto& m) { return m.first == month; });
        if (found != months.end()) {
            found->second += gift.amountCents;
        }
    }
    return months;
}
