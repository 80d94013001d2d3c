#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Clock;
class Database;

// One gift as stored in Member_Contributions. The amount is whole cents.
struct Contribution
{
    qint64 id = 0; // 0 for a gift not saved yet
    qint64 memberId = 0;
    QDate date;
    QString envelopeNumber;
    qint64 amountCents = 0;
    QString refNumber;
    QString designation;
    // Who saved the gift last, and when; written by every save.
    QString userName;
    QDateTime dateEntered;

    bool operator==(const Contribution&) const = default;
};

// A person offered on the contribution entry screen: ID, name ("Last, First Middle", without title) and
// envelope number (empty when he has none).
struct ContributionMember
{
    qint64 id = 0;
    QString name;
    QString envelope;

    bool operator==(const ContributionMember&) const = default;
};

// A person who holds an envelope number but is not offered on the contribution list (a previous member, say).
struct UnlistedEnvelopeHolder
{
    QString name; // "Last, First Middle", without title or trailing blanks
    QString status;
};

// Envelope number to the first listed person holding it, built once from the entry list so that typing
// an envelope number finds its person without a query. Envelope numbers match only as typed, whole.
class EnvelopeIndex final
{
public:
    EnvelopeIndex() = default;
    explicit EnvelopeIndex(const QList<ContributionMember>& people);

    // The position in the list of the first person with exactly this envelope number; nothing for an
    // empty text or a number nobody listed has.
    std::optional<int> positionOf(const QString& envelope) const;

private:
    QHash<QString, int> m_first;
};

// A person's gifts in a period, newest first, with their total in cents.
struct ContributionList
{
    std::vector<Contribution> gifts;
    qint64 totalCents = 0;

    // The first day of each month from start's to end's, with the gifts' total in it.
    std::vector<std::pair<QDate, qint64>> monthlyTotals(const QDate& start, const QDate& end) const;
};

enum class ContributionSaveStatus {
    Saved,
    // No person chosen, or no designation.
    MissingRequiredFields,
    // The amount lies beyond the limit of one gift.
    AmountOutOfRange,
    // The person was deleted since the entry list was read.
    MemberMissing,
    // The gift being edited was deleted since it was shown.
    ContributionMissing,
};

// What a save did; when it wrote nothing, the title and text of the message the screen shows.
struct ContributionSaveResult
{
    ContributionSaveStatus status = ContributionSaveStatus::Saved;
    bool inserted = false;
    QString title;
    QString message;

    bool saved() const { return status == ContributionSaveStatus::Saved; }
};

// The contributions of the roll: the people and designations the entry screen offers, one gift to show,
// save or delete, and a person's gifts in a period. No widgets; every value is bound, dates as ISO text.
class ContributionStore final
{
    Q_DECLARE_TR_FUNCTIONS(ContributionStore)

public:
    ContributionStore(Database& db, Clock& clock);

    // The people shown in the contribution list (ShowInContributionList set), by last, first and middle
    // name, then ID.
    QList<ContributionMember> entryList();
    // Every designation, by name.
    QStringList designations();
    // The first person by name who holds this envelope number (letter case ignored) and is not in the
    // contribution list; nothing when no such person holds it.
    std::optional<UnlistedEnvelopeHolder> holderOffTheList(const QString& envelope);

    // The stored gift, or nothing when no such row exists.
    std::optional<Contribution> load(qint64 id);

    // Writes the gift: a new row when gift.id is 0, else an update of that row. Either way UserName
    // becomes userName and DateEntered the present second, and gift takes both (and its new ID). In
    // one transaction the person is checked to be on the roll and an edited row to be still there;
    // otherwise nothing is written and the result says why.
    ContributionSaveResult save(Contribution& gift, const QString& userName);

    // Deletes the gift; false when there was no such row.
    bool remove(qint64 id);

    // The person's gifts dated from start to end (both included), for every designation or only the one
    // given: newest first, the highest ID first within a date, with their total.
    ContributionList memberContributions(qint64 memberId, const QDate& start, const QDate& end,
                                         const std::optional<QString>& designation = std::nullopt);

    // The calendar years in which gifts are dated, newest first.
    QList<int> contributionYears();

private:
    Database& m_db;
    Clock& m_clock;
};
