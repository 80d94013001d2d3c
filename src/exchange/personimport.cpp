#include "exchange/personimport.h"

#include "core/textformat.h"
#include "csv/csvfile.h"
#include "data/database.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"
#include "exchange/duplicaterule.h"
#include "exchange/importfields.h"

#include <QSet>

namespace {

using ImportFields::Kind;

// A list's entries by their lower-case text, giving the entry as stored.
using Entries = QHash<QString, QString>;

Entries entriesOf(Database& db, LookupList list)
{
    Entries out;
    for (const QString& entry : LookupStore(db).texts(list)) {
        out.insert(ImportValues::listKey(entry), entry);
    }
    return out;
}

bool isYes(const QString& text)
{
    static const QStringList yes = {QStringLiteral("yes"),  QStringLiteral("y"),
                                    QStringLiteral("true"), QStringLiteral("1"),
                                    QStringLiteral("x"),    QStringLiteral("head"),
                                    QStringLiteral("-1"),   QStringLiteral("primary"),
                                    QStringLiteral("t"),    QStringLiteral("headofhousehold")};
    return yes.contains(ImportValues::listKey(text));
}

QString lowerSimplified(const QString& text)
{
    return text.simplified().toLower();
}

int ageOn(const QString& isoBirth, const QDate& day)
{
    const QDate birth = QDate::fromString(isoBirth, Qt::ISODate);
    if (!birth.isValid()) {
        return -1;
    }
    int age = day.year() - birth.year();
    if (QDate(day.year(), birth.month(), std::min(birth.day(), QDate(day.year(), birth.month(), 1).daysInMonth())) >
        day) {
        --age;
    }
    return age;
}

const QString kOther = QStringLiteral("Other");

// How often the preview tells its progress and looks whether it should stop.
constexpr int kRowsPerReport = 256;

using Unknowns = QMap<std::pair<int, QString>, UnknownValue>;

// The Member columns a file can fill, from the field catalogue.
QStringList storedColumns()
{
    static const QStringList columns = [] {
        QStringList out;
        for (const ImportFields::Field& field : ImportFields::all()) {
            if (field.kind == Kind::Text || field.kind == Kind::Date || field.kind == Kind::Phone ||
                field.kind == Kind::State || field.kind == Kind::Lookup || field.kind == Kind::Choice) {
                out << field.key;
            }
        }
        return out;
    }();
    return columns;
}

// The lists the office keeps (a value missing from them is asked about, or added on request); the others
// come with the database and are only read.
bool officeKeeps(LookupList list)
{
    return list == LookupList::Titles || list == LookupList::Relationships;
}

// Reads a row's cells into the fields they fill, as they would be stored.
class RowReader final
{
    Q_DECLARE_TR_FUNCTIONS(PersonImport)

public:
    RowReader(const ImportReference& reference, const ImportOptions& options, Unknowns& unknown, QList<int> noYear)
        : m_lists(reference.lists)
        , m_options(options)
        , m_unknown(unknown)
        , m_noYear(std::move(noYear))
    {}

    void read(ImportRow& row, ImportValues::Statuses& given, const ImportFields::Field& field, const QString& value);

private:
    // The entry of the list the value names, compared loosely; empty when the list lacks it.
    QString entryOf(LookupList list, const QString& value) const
    {
        return m_lists.value(int(list)).value(ImportValues::listKey(value));
    }
    void readListValue(ImportRow& row, ImportValues::Statuses& given, const ImportFields::Field& field,
                       const QString& value);
    static void leftEmpty(ImportRow& row, const ImportFields::Field& field, const QString& value)
    {
        row.warnings << tr("%1: \"%2\" is not in the list; left empty.").arg(field.label, value);
    }

    const QHash<int, Entries>& m_lists;
    const ImportOptions& m_options;
    Unknowns& m_unknown;
    QList<int> m_noYear;
};

void RowReader::read(ImportRow& row, ImportValues::Statuses& given, const ImportFields::Field& field,
                     const QString& value)
{
    switch (field.kind) {
        case Kind::Text:
            row.values.insert(field.key, value);
            break;
        case Kind::Date: {
            const ImportFields::ParsedDate parsed = ImportFields::parseDate(value, m_noYear);
            if (parsed.date.isValid()) {
                row.values.insert(field.key, SqlValue::fromDate(parsed.date));
            } else {
                // A date without a year says itself that none is stored.
                row.warnings << (parsed.warning.isEmpty()
                                     ? tr("%1: %2 It is left empty.").arg(field.label, parsed.problem)
                                     : field.label + QStringLiteral(": ") + parsed.warning);
            }
            break;
        }
        case Kind::Phone: {
            const ImportValues::PhoneReading phone = ImportValues::readPhone(value, m_options.areaCode);
            row.values.insert(field.key, phone.stored);
            if (phone.asTyped) {
                row.warnings << tr("%1: \"%2\" is not a ten-digit number; kept as typed.").arg(field.label, value);
            }
            break;
        }
        case Kind::State: {
            const QString state = entryOf(LookupList::States, value);
            if (state.isEmpty()) {
                leftEmpty(row, field, value);
            } else {
                row.values.insert(field.key, state);
            }
            break;
        }
        case Kind::Choice: {
            const QString key = ImportValues::listKey(value);
            const auto match = std::find_if(field.choices.cbegin(), field.choices.cend(), [&key](const QString& c) {
                const QString choice = ImportValues::listKey(c);
                return choice == key || (key.size() == 1 && choice.startsWith(key)) ||
                       (key.size() >= 4 && choice.startsWith(key));
            });
            if (match != field.choices.cend()) {
                row.values.insert(field.key, *match);
            } else {
                row.warnings << tr("%1: \"%2\" is none of %3; left empty.")
                                    .arg(field.label, value, field.choices.join(QStringLiteral(", ")));
            }
            break;
        }
        case Kind::Lookup:
        case Kind::Relationship:
            readListValue(row, given, field, value);
            break;
        case Kind::StatusMeaning: {
            std::optional<ImportValues::Statuses> meaning = ImportValues::statusMeaning(value);
            if (!meaning && !entryOf(LookupList::MemberStatuses, value).isEmpty()) {
                meaning = ImportValues::Statuses{entryOf(LookupList::MemberStatuses, value), {}, {}};
            }
            if (!meaning) {
                row.warnings << tr("%1: \"%2\" is no status this import knows; left out.").arg(field.label, value);
                break;
            }
            for (auto [have, gets] :
                 {std::pair{&given.member, &meaning->member}, std::pair{&given.church, &meaning->church},
                  std::pair{&given.prospect, &meaning->prospect}}) {
                if (have->isEmpty()) {
                    *have = *gets;
                }
            }
            break;
        }
        case Kind::FamilyRole: {
            row.role = ImportValues::familyRole(value);
            if (row.role == ImportValues::FamilyRole::Head) {
                row.head = true;
            } else if (row.role == ImportValues::FamilyRole::Unknown) {
                row.relationship = entryOf(LookupList::Relationships, value);
                if (row.relationship.isEmpty()) {
                    row.warnings << tr("%1: \"%2\" is no household role this import knows; linked as another "
                                       "relative.")
                                        .arg(field.label, value);
                    row.role = ImportValues::FamilyRole::Adult;
                }
            }
            break;
        }
        case Kind::Household:
            row.household = value;
            row.externalHousehold = value;
            break;
        case Kind::Head:
            row.head = row.head || isYes(value);
            break;
        case Kind::ExternalId:
            row.externalId = value;
            break;
        case Kind::KelvaneId:
            row.kelvaneId = value;
            break;
        case Kind::Fallback:
            break; // read as its target field
    }
}

void RowReader::readListValue(ImportRow& row, ImportValues::Statuses& given, const ImportFields::Field& field,
                              const QString& value)
{
    const LookupList list = *field.list;
    if (list == LookupList::Titles && ImportValues::isSalutation(value)) {
        return; // Mr, Mrs: no title of ours, and no problem either
    }
    QString stored = entryOf(list, value);
    if (stored.isEmpty() && officeKeeps(list)) {
        const auto decision = m_options.decisions.constFind({int(list), value.toLower()});
        if (decision != m_options.decisions.cend() && decision->add) {
            stored = value;
        } else if (decision != m_options.decisions.cend() && !decision->mapTo.isEmpty()) {
            stored = decision->mapTo;
        } else {
            UnknownValue& entry = m_unknown[{int(list), value.toLower()}];
            entry.list = list;
            entry.value = value;
            ++entry.rows;
        }
    }
    if (stored.isEmpty()) {
        leftEmpty(row, field, value);
    } else if (field.kind == Kind::Relationship) {
        row.relationship = stored;
    } else if (list == LookupList::MemberStatuses) {
        given.member = stored;
    } else if (list == LookupList::ChurchStatuses) {
        given.church = stored;
    } else if (list == LookupList::ProspectStatuses) {
        given.prospect = stored;
    } else {
        row.values.insert(field.key, stored);
    }
}

DuplicateRule::Person personOf(const ImportRow& row)
{
    return {row.values.value(QStringLiteral("Last_Name")),     row.values.value(QStringLiteral("First_Name")),
            row.values.value(QStringLiteral("Date_Of_Birth")), row.values.value(QStringLiteral("Email")),
            row.values.value(QStringLiteral("Phone")),         row.values.value(QStringLiteral("Address_1"))};
}

// Finds the person of the roll a row is: by his ID in the other program, else by Kelvane's ID (when the last
// name agrees, so that another program's own "ID" column never updates a stranger), else by DuplicateRule.
class RollMatch final
{
    Q_DECLARE_TR_FUNCTIONS(PersonImport)

public:
    static void find(ImportRow& row, const ImportReference& reference)
    {
        if (!row.problems.isEmpty()) {
            return;
        }
        if (const auto external = reference.byExternalId.constFind(row.externalId.toLower());
            !row.externalId.isEmpty() && external != reference.byExternalId.cend()) {
            row.duplicateOf = *external;
            row.duplicateReason = tr("same ID in the other program");
            return;
        }
        bool isNumber = false;
        const qint64 id = row.kelvaneId.toLongLong(&isNumber);
        if (isNumber && reference.stored.contains(id)) {
            const QString storedLast = reference.stored.value(id).value(QStringLiteral("Last_Name"));
            if (DuplicateRule::nameKey(storedLast, {}) ==
                DuplicateRule::nameKey(row.values.value(QStringLiteral("Last_Name")), {})) {
                row.duplicateOf = id;
                row.duplicateReason = tr("same Kelvane ID");
                return;
            }
            row.warnings << tr("ID %1 is %2 on the roll: the row is not matched by it.").arg(row.kelvaneId, storedLast);
        }
        const DuplicateRule::Person person = personOf(row);
        const QString key = DuplicateRule::nameKey(person.last, person.first);
        for (auto it = reference.roll.constFind(key); it != reference.roll.cend() && it.key() == key; ++it) {
            const QString reason =
                DuplicateRule::sameness(person, {it->last, it->first, it->birth, it->email, it->phone, it->address});
            if (!reason.isEmpty()) {
                row.duplicateOf = it->id;
                row.duplicateReason = reason;
                return;
            }
        }
    }
};

// The household rules once every row is read: each household's head, its children's member status, the links'
// relationships from the roles, every status the member screen requires, and one envelope per household.
class HouseholdRules final
{
    Q_DECLARE_TR_FUNCTIONS(PersonImport)

public:
    static void apply(QList<ImportRow>& rows, QList<ImportValues::Statuses>& given, const ImportReference& reference,
                      const QDate& today);

private:
    static qsizetype chooseHead(const QList<ImportRow>& rows, const QList<int>& members, const QDate& today);
    static void shareEnvelopes(QList<ImportRow>& rows, const QList<int>& members, int head);
};

qsizetype HouseholdRules::chooseHead(const QList<ImportRow>& rows, const QList<int>& members, const QDate& today)
{
    // The row marked so, else the first adult, else the first row.
    for (qsizetype i = 0; i < members.size(); ++i) {
        if (rows.at(members.at(i)).head) {
            return i;
        }
    }
    for (qsizetype i = 0; today.isValid() && i < members.size(); ++i) {
        if (ageOn(rows.at(members.at(i)).values.value(QStringLiteral("Date_Of_Birth")), today) >= 18) {
            return i;
        }
    }
    return 0;
}

void HouseholdRules::shareEnvelopes(QList<ImportRow>& rows, const QList<int>& members, int head)
{
    const QString envelopeKey = QStringLiteral("Envelope");
    QHash<QString, QList<int>> holders;
    for (const int i : members) {
        const QString envelope = rows.at(i).values.value(envelopeKey).toLower();
        if (!envelope.isEmpty()) {
            holders[envelope] << i;
        }
    }
    for (const QList<int>& sharing : std::as_const(holders)) {
        if (sharing.size() < 2) {
            continue;
        }
        const int keeper = sharing.contains(head) ? head : sharing.first();
        const ImportRow& kept = rows.at(keeper);
        for (const int i : sharing) {
            if (i != keeper) {
                rows[i].warnings << tr("Envelope %1 is the %2 household's: kept on %3")
                                        .arg(rows.at(i).values.value(envelopeKey),
                                             rows.at(head).values.value(QStringLiteral("Last_Name")),
                                             kept.values.value(QStringLiteral("First_Name")));
                rows[i].values.remove(envelopeKey);
            }
        }
    }
}

void HouseholdRules::apply(QList<ImportRow>& rows, QList<ImportValues::Statuses>& given,
                           const ImportReference& reference, const QDate& today)
{
    QHash<QString, QList<int>> households;
    QStringList order;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).problems.isEmpty() && !rows.at(i).household.isEmpty()) {
            if (!households.contains(rows.at(i).household)) {
                order << rows.at(i).household;
            }
            households[rows.at(i).household] << i;
        }
    }
    const auto entry = [&reference](LookupList list, const QString& text) {
        return reference.lists.value(int(list)).value(ImportValues::listKey(text), text);
    };
    QSet<int> childOfMember;
    for (const QString& key : std::as_const(order)) {
        const QList<int>& members = households.value(key);
        if (members.size() < 2) {
            continue;
        }
        const int head = members.at(chooseHead(rows, members, today));
        bool memberHousehold = false;
        for (const int i : members) {
            rows[i].head = i == head;
            const QString member = given.at(i).member;
            memberHousehold = memberHousehold || member == u"Member" ||
                              (member.isEmpty() && rows.at(i).role != ImportValues::FamilyRole::Child);
        }
        for (const int i : members) {
            ImportRow& row = rows[i];
            if (row.role == ImportValues::FamilyRole::Child && memberHousehold &&
                (given.at(i).member.isEmpty() || given.at(i).member == u"Prospect")) {
                given[i].member = QStringLiteral("Child Of Member");
                given[i].prospect.clear();
                childOfMember.insert(i);
            }
            if (i != head && row.relationship.isEmpty() && row.role != ImportValues::FamilyRole::Unknown &&
                row.role != ImportValues::FamilyRole::Head) {
                row.relationship =
                    entry(LookupList::Relationships,
                          ImportValues::relationshipFor(row.role, row.values.value(QStringLiteral("Gender"))));
            }
        }
        shareEnvelopes(rows, members, head);
    }
    for (int i = 0; i < rows.size(); ++i) {
        // What the file did not state is the rules' (an update leaves the stored status alone).
        if (given.at(i).member.isEmpty() || childOfMember.contains(i)) {
            rows[i].defaulted.insert(QStringLiteral("Status"));
        }
        if (given.at(i).church.isEmpty()) {
            rows[i].defaulted.insert(QStringLiteral("Member_Active_Status"));
        }
        if (given.at(i).prospect.isEmpty()) {
            rows[i].defaulted.insert(QStringLiteral("Prospect_Active_Status"));
        }
        const ImportValues::Statuses statuses = ImportValues::completed(given.at(i));
        rows[i].values.insert(QStringLiteral("Status"), entry(LookupList::MemberStatuses, statuses.member));
        rows[i].values.insert(QStringLiteral("Member_Active_Status"),
                              entry(LookupList::ChurchStatuses, statuses.church));
        rows[i].values.insert(QStringLiteral("Prospect_Active_Status"),
                              entry(LookupList::ProspectStatuses, statuses.prospect));
    }
    // An envelope given twice otherwise warns, and both keep it (as the office's old program saved them).
    QHash<QString, int> envelopeLines;
    for (ImportRow& row : rows) {
        const QString envelope = row.values.value(QStringLiteral("Envelope"));
        if (envelope.isEmpty() || !row.problems.isEmpty()) {
            continue;
        }
        if (reference.envelopes.contains(envelope.toLower())) {
            row.warnings << tr("Envelope %1 belongs to a person of the roll already.").arg(envelope);
        } else if (envelopeLines.contains(envelope.toLower())) {
            row.warnings << tr("Envelope %1 is also given to row %2.")
                                .arg(envelope)
                                .arg(envelopeLines.value(envelope.toLower()));
        } else {
            envelopeLines.insert(envelope.toLower(), row.line);
        }
    }
}

} // namespace

ImportPreview PersonImport::preview(const QList<QStringList>& rows, const ImportOptions& options)
{
    return preview(reference(), rows, options);
}

ImportReference PersonImport::reference()
{
    ImportReference reference;
    for (const LookupList list : {LookupList::Titles, LookupList::MemberStatuses, LookupList::ChurchStatuses,
                                  LookupList::ProspectStatuses, LookupList::Relationships, LookupList::States}) {
        reference.lists.insert(int(list), entriesOf(m_db, list));
    }
    for (const QString& envelope :
         m_db.texts(QStringLiteral("SELECT lower(Envelope) FROM Member WHERE ifnull(Envelope, '') <> ''"))) {
        reference.envelopes.insert(envelope);
    }
    const QStringList columns = storedColumns();
    QStringList quoted;
    for (const QString& column : columns) {
        quoted << u'"' + column + u'"';
    }
    // Column names come from the field catalogue, never from a file.
    Query query = m_db.query(QStringLiteral("SELECT ID, ") + quoted.join(u',') + QStringLiteral(" FROM Member"));
    while (query.next()) {
        const Row row = query.row();
        const qint64 id = row.integer(u"ID");
        QHash<QString, QString>& values = reference.stored[id];
        for (const QString& column : columns) {
            values.insert(column, row.text(column));
        }
        const QString last = values.value(QStringLiteral("Last_Name"));
        const QString first = values.value(QStringLiteral("First_Name"));
        reference.roll.insert(DuplicateRule::nameKey(last, first),
                              {id, last, first, values.value(QStringLiteral("Date_Of_Birth")),
                               values.value(QStringLiteral("Email")), values.value(QStringLiteral("Phone")),
                               values.value(QStringLiteral("Address_1"))});
    }
    for (const Row& row : m_db.select(QStringLiteral("SELECT e.Member_ID, e.External_ID, e.External_Household FROM "
                                                     "Member_External_ID e JOIN Member m ON m.ID = e.Member_ID WHERE "
                                                     "e.External_ID IS NOT NULL"))) {
        reference.byExternalId.insert(row.text(u"External_ID").toLower(), row.integer(u"Member_ID"));
        reference.externalIds.insert(row.integer(u"Member_ID"),
                                     {row.text(u"External_ID"), row.text(u"External_Household")});
    }
    return reference;
}

ImportPreview PersonImport::preview(const ImportReference& reference, const QList<QStringList>& rows,
                                    const ImportOptions& options, JobProgress* progress)
{
    Unknowns unknown;
    ImportPreview preview;
    const std::optional<ImportFields::KnownLayout> layout =
        options.hasHeadings ? ImportFields::recognise(rows.value(0)) : std::nullopt;
    if (layout) {
        preview.layout = tr("Looks like %1.").arg(layout->name);
    }
    RowReader reader(reference, options, unknown, layout ? layout->noYear : QList<int>());

    QList<ImportValues::Statuses> given;
    const int first = options.hasHeadings ? 1 : 0;
    preview.rows.reserve(rows.size());
    for (int index = first; index < rows.size(); ++index) {
        if (index % kRowsPerReport == 0) {
            reportProgress(progress, index, rows.size(), tr("Checking row %1 of %2").arg(index + 1).arg(rows.size()));
        }
        const QStringList& cells = rows.at(index);
        if (std::all_of(cells.cbegin(), cells.cend(), [](const QString& c) { return c.trimmed().isEmpty(); })) {
            continue;
        }
        ImportRow row;
        row.line = index + 1;
        if (cells.size() != options.mapping.size()) {
            row.problems << tr("The row has %n cell(s) where the headings have %1.", nullptr, int(cells.size()))
                                .arg(options.mapping.size());
        }
        for (const CsvFile::Repair& repair : options.repairs) {
            if (repair.row == row.line) {
                row.warnings << tr("Read leniently: %1.").arg(repair.how);
            }
        }
        ImportValues::Statuses statuses;
        // The columns mapped to a field, then those that fill a field their row left empty.
        for (const bool fallbacks : {false, true}) {
            for (int column = 0; column < std::min(cells.size(), options.mapping.size()); ++column) {
                const ImportFields::Field* field = ImportFields::find(options.mapping.at(column));
                // A cell our export marked as text ("'=...") comes back as it was.
                const QString value = CsvFile::unguardedCell(cells.at(column).trimmed());
                if (field == nullptr || value.isEmpty() || (field->kind == Kind::Fallback) != fallbacks) {
                    continue;
                }
                if (fallbacks) {
                    field = ImportFields::find(field->target);
                    if (row.values.contains(field->key)) {
                        continue;
                    }
                }
                reader.read(row, statuses, *field, value);
            }
        }
        const QString last = row.values.value(QStringLiteral("Last_Name"));
        if (last.isEmpty()) {
            row.problems << tr("No last name (it is required).");
        } else if (row.values.value(QStringLiteral("First_Name")).isEmpty()) {
            row.warnings << tr("No first name in any name column; the member screen asks for one before the "
                               "person is saved again.");
        }
        RollMatch::find(row, reference);
        preview.rows << row;
        given << statuses;
    }
    // Within the file: each row against the rows before it.
    QMultiHash<QString, int> byName;
    for (int i = 0; i < preview.rows.size(); ++i) {
        if (i % kRowsPerReport == 0) {
            reportProgress(progress, i, preview.rows.size(),
                           tr("Comparing row %1 of %2 with the rows before it").arg(i + 1).arg(preview.rows.size()));
        }
        ImportRow& row = preview.rows[i];
        const QString key = DuplicateRule::nameKey(row.values.value(QStringLiteral("Last_Name")),
                                                   row.values.value(QStringLiteral("First_Name")));
        for (auto it = byName.constFind(key); it != byName.cend() && it.key() == key && !row.duplicateOfLine; ++it) {
            const ImportRow& other = preview.rows.at(it.value());
            const QString reason = DuplicateRule::sameness(personOf(row), personOf(other));
            if (!reason.isEmpty()) {
                row.duplicateOfLine = other.line;
                if (row.duplicateReason.isEmpty()) {
                    row.duplicateReason = reason;
                }
            }
        }
        byName.insert(key, i);
        const QString address = lowerSimplified(row.values.value(QStringLiteral("Address_1")));
        const QString byNameAndAddress =
            address.isEmpty() ? QString()
                              : lowerSimplified(row.values.value(QStringLiteral("Last_Name"))) + u'|' + address;
        if (options.householdsByNameAndAddressOnly) {
            row.household = byNameAndAddress;
        } else if (row.household.isEmpty() && options.householdsByNameAndAddress) {
            row.household = byNameAndAddress;
        }
    }

    HouseholdRules::apply(preview.rows, given, reference, options.today);
    for (ImportRow& row : preview.rows) {
        row.externalChanged =
            !row.externalId.isEmpty() && (!row.duplicateOf || reference.externalIds.value(*row.duplicateOf) !=
                                                                  std::pair{row.externalId, row.externalHousehold});
        if (row.duplicateOf) {
            const QHash<QString, QString> stored = reference.stored.value(*row.duplicateOf);
            for (auto value = row.values.cbegin(); value != row.values.cend(); ++value) {
                if (!row.defaulted.contains(value.key()) && stored.value(value.key()) != value.value()) {
                    row.changes << value.key();
                }
            }
        }
    }
    count(preview, options.skippedRows);
    for (auto it = options.decisions.cbegin(); it != options.decisions.cend(); ++it) {
        if (it->add && !reference.lists.value(it.key().first).contains(ImportValues::listKey(it.key().second))) {
            ++preview.listEntriesToAdd;
        }
    }
    preview.unknownValues = unknown.values();
    return preview;
}

ImportResult PersonImport::import(const ImportPreview& preview, const ImportOptions& options, const QString& fileName,
                                  const QString& userName, const QDateTime& now)
{
    ImportResult result;
    const QString stamp = SqlValue::fromDateTime(now);
    Transaction transaction(m_db);
    result.batchId =
        m_db.insert(QStringLiteral("INSERT INTO Import_Batch (File, Imported_At, Imported_By) VALUES (?, ?, ?)"),
                    {fileName, stamp, userName});
    const auto record = [this, &result](const QString& kind, const QVariant& id, const QString& table,
                                        const QVariant& value) {
        m_db.execute(QStringLiteral("INSERT INTO Import_Batch_Item (Batch_ID, Kind, Item_ID, List_Table, Value) "
                                    "VALUES (?, ?, ?, ?, ?)"),
                     {result.batchId, kind, id, table, value});
    };
    const auto addEntry = [this, &record, &result](LookupList list, const QString& value) {
        const QString table = LookupStore::tableOf(list);
        const QString column = LookupStore::columnOf(list);
        const bool present =
            m_db.selectOne(QStringLiteral("SELECT 1 FROM \"%1\" WHERE lower(\"%2\") = lower(?)").arg(table, column),
                           {value})
                .has_value();
        if (!present) {
            m_db.execute(QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (?)").arg(table, column), {value});
            record(QStringLiteral("value"), QVariant(), table, value);
            ++result.listEntries;
        }
    };
    for (auto it = options.decisions.cbegin(); it != options.decisions.cend(); ++it) {
        if (it->add) {
            // The value as the file spells it: the first row holding it.
            QString spelled = it.key().second;
            for (const UnknownValue& unknown : preview.unknownValues) {
                if (int(unknown.list) == it.key().first && unknown.value.toLower() == it.key().second) {
                    spelled = unknown.value;
                }
            }
            for (const ImportRow& row : preview.rows) {
                for (const QString& value : row.values) {
                    if (value.toLower() == it.key().second) {
                        spelled = value;
                    }
                }
                if (row.relationship.toLower() == it.key().second) {
                    spelled = row.relationship;
                }
            }
            addEntry(LookupList(it.key().first), spelled);
        }
    }

    // A person of the roll: the fields the row changes, each one's value before recorded for the undo.
    const auto updateFields = [this, &record](qint64 id, const ImportRow& row) {
        static const QStringList names = {QStringLiteral("Last_Name"), QStringLiteral("First_Name"),
                                          QStringLiteral("Middle_Name")};
        QStringList read = names;
        for (const QString& column : row.changes) {
            if (!read.contains(column)) {
                read << column;
            }
        }
        read << NameKey::column();
        QStringList quoted;
        for (const QString& column : std::as_const(read)) {
            quoted << u'"' + column + u'"';
        }
        // Column names come from the field catalogue, never from a file.
        const auto before = m_db.selectOne(
            QStringLiteral("SELECT ") + quoted.join(u',') + QStringLiteral(" FROM Member WHERE ID = ?"), {id});
        QStringList sets;
        QVariantList params;
        for (const QString& column : row.changes) {
            record(QStringLiteral("field"), id, column, before ? before->value(column) : QVariant());
            sets << u'"' + column + QStringLiteral("\" = ?");
            params << row.values.value(column);
        }
        if (std::any_of(names.cbegin(), names.cend(), [&row](const QString& n) { return row.changes.contains(n); })) {
            const auto name = [&](const QString& column) {
                return row.changes.contains(column) ? row.values.value(column)
                                                    : (before ? before->text(column) : QString());
            };
            record(QStringLiteral("field"), id, NameKey::column(),
                   before ? before->value(NameKey::column()) : QVariant());
            sets << NameKey::column() + QStringLiteral(" = ?");
            params << NameKey::personKey(name(names.at(0)), name(names.at(1)), name(names.at(2)));
        }
        params << id;
        m_db.execute(QStringLiteral("UPDATE Member SET ") + sets.join(QStringLiteral(", ")) +
                         QStringLiteral(" WHERE ID = ?"),
                     params);
    };

    // The people, and who belongs to which household.
    QHash<QString, QList<std::pair<qint64, const ImportRow*>>> households;
    QSet<qint64> added;
    const auto keepExternalIds = [this, &record](qint64 id, const ImportRow& row, bool known) {
        if (!row.externalChanged) {
            return;
        }
        if (known) {
            // What he had before, for the undo: his row of IDs, or none.
            const auto before = m_db.selectOne(QStringLiteral("SELECT External_ID, External_Household FROM "
                                                              "Member_External_ID WHERE Member_ID = ?"),
                                               {id});
            record(QStringLiteral("external"), id, before ? before->text(u"External_Household") : QString(),
                   before ? before->value(u"External_ID") : QVariant());
        }
        m_db.execute(QStringLiteral("DELETE FROM Member_External_ID WHERE Member_ID = ?"), {id});
        m_db.execute(QStringLiteral("INSERT INTO Member_External_ID (Member_ID, External_ID, External_Household) "
                                    "VALUES (?, ?, ?)"),
                     {id, row.externalId.isEmpty() ? QVariant() : QVariant(row.externalId),
                      row.externalHousehold.isEmpty() ? QVariant() : QVariant(row.externalHousehold)});
    };
    for (const ImportRow& row : preview.rows) {
        if (!row.problems.isEmpty() || options.skippedRows.contains(row.line)) {
            continue;
        }
        if (row.duplicateOf) {
            const qint64 id = *row.duplicateOf;
            if (!row.changes.isEmpty()) {
                updateFields(id, row);
                ++result.updated;
                result.fields += int(row.changes.size());
            }
            keepExternalIds(id, row, true);
            if (!row.household.isEmpty()) {
                households[row.household] << std::pair{id, &row};
            }
            continue;
        }
        QStringList names;
        QStringList marks;
        QVariantList params;
        for (auto value = row.values.cbegin(); value != row.values.cend(); ++value) {
            names << value.key();
            marks << QStringLiteral("?");
            params << value.value();
        }
        names << NameKey::column() << QStringLiteral("Date_Added") << QStringLiteral("Added_By");
        marks << QStringLiteral("?") << QStringLiteral("?") << QStringLiteral("?");
        params << NameKey::personKey(row.values.value(QStringLiteral("Last_Name")),
                                     row.values.value(QStringLiteral("First_Name")),
                                     row.values.value(QStringLiteral("Middle_Name")))
               << stamp << userName;
        // Column names come from the field catalogue, never from the file.
        const qint64 id = m_db.insert(QStringLiteral("INSERT INTO Member (") + names.join(u',') +
                                          QStringLiteral(") VALUES (") + marks.join(u',') + u')',
                                      params);
        record(QStringLiteral("person"), id, {}, {});
        ++result.people;
        added.insert(id);
        keepExternalIds(id, row, false);
        if (!row.household.isEmpty()) {
            households[row.household] << std::pair{id, &row};
        }
    }

    for (const auto& members : std::as_const(households)) {
        // People of the roll keep the households they have: only the new are linked.
        const bool anyNew =
            std::any_of(members.cbegin(), members.cend(), [&added](const auto& m) { return added.contains(m.first); });
        if (members.size() < 2 || !anyNew) {
            continue;
        }
        // The head: the row marked so, else the first adult, else the first row.
        const auto marked =
            std::find_if(members.cbegin(), members.cend(), [](const auto& m) { return m.second->head; });
        const auto adult = std::find_if(members.cbegin(), members.cend(), [&now](const auto& m) {
            return ageOn(m.second->values.value(QStringLiteral("Date_Of_Birth")), now.date()) >= 18;
        });
        const auto head = marked != members.cend() ? marked : adult != members.cend() ? adult : members.cbegin();
        if (!added.contains(head->first)) {
            const QVariant before =
                m_db.scalar(QStringLiteral("SELECT Head_Of_Household FROM Member WHERE ID = ?"), {head->first});
            record(QStringLiteral("field"), head->first, QStringLiteral("Head_Of_Household"), before);
        }
        m_db.execute(QStringLiteral("UPDATE Member SET Head_Of_Household = 1 WHERE ID = ?"), {head->first});
        const ImportRow& headRow = *head->second;
        for (const auto& [id, row] : members) {
            if (id == head->first || !added.contains(id)) {
                continue;
            }
            // A relationship from a household role may be one the office has taken off its list.
            const QString relationship = row->relationship.isEmpty() ? kOther : row->relationship;
            addEntry(LookupList::Relationships, relationship);
            const qint64 link = m_db.insert(QStringLiteral("INSERT INTO Family_Connection (Member_ID, Relationship, "
                                                           "Relative_Member_ID) VALUES (?, ?, ?)"),
                                            {head->first, relationship, id});
            record(QStringLiteral("link"), link, {}, {});
            ++result.links;
            // The household shares the head's address, as Clone Address gives it.
            if (!headRow.values.value(QStringLiteral("Address_1")).isEmpty()) {
                m_db.execute(
                    QStringLiteral("UPDATE Member SET Address_1 = ?, Address_2 = ?, City = ?, State = ?, "
                                   "Zip = ?, Phone = ? WHERE ID = ?"),
                    {headRow.values.value(QStringLiteral("Address_1")),
                     headRow.values.value(QStringLiteral("Address_2")), headRow.values.value(QStringLiteral("City")),
                     headRow.values.value(QStringLiteral("State")), headRow.values.value(QStringLiteral("Zip")),
                     headRow.values.value(QStringLiteral("Phone")), id});
            }
        }
    }
    transaction.commit();
    return result;
}

std::optional<std::pair<QString, QDateTime>> PersonImport::lastImport()
{
    const auto row = m_db.selectOne(
        QStringLiteral("SELECT File, Imported_At FROM Import_Batch WHERE Undone = 0 ORDER BY ID DESC LIMIT 1"));
    if (!row) {
        return std::nullopt;
    }
    return std::pair{row->text(u"File"), row->dateTime(u"Imported_At").value_or(QDateTime())};
}

QString PersonImport::checkUndo()
{
    const QVariant batch =
        m_db.scalar(QStringLiteral("SELECT ID FROM Import_Batch WHERE Undone = 0 ORDER BY ID DESC LIMIT 1"));
    if (batch.isNull()) {
        return tr("There is no import to undo.");
    }
    const QString people =
        QStringLiteral("SELECT Item_ID FROM Import_Batch_Item WHERE Batch_ID = ? AND Kind = 'person'");
    // Changed since: edited on the member screen, or given records of their own.
    const QStringList changed = m_db.texts(
        QStringLiteral("SELECT Last_Name || ', ' || First_Name FROM Member WHERE ID IN (%1) AND (Date_Edited IS NOT "
                       "NULL OR ID IN (SELECT MemberID FROM AttendanceData) OR ID IN (SELECT MemberID FROM "
                       "Member_Contributions) OR ID IN (SELECT Prospect_ID FROM Prospect_Contact)) ORDER BY 1 LIMIT 10")
            .arg(people),
        {batch});
    if (!changed.isEmpty()) {
        return tr("The last import cannot be undone: these people were changed since: %1.")
            .arg(changed.join(QStringLiteral("; ")));
    }
    return {};
}

bool PersonImport::undoLast()
{
    if (!checkUndo().isEmpty()) {
        return false;
    }
    const qint64 batch =
        m_db.scalar(QStringLiteral("SELECT ID FROM Import_Batch WHERE Undone = 0 ORDER BY ID DESC LIMIT 1"))
            .toLongLong();
    const QString people =
        QStringLiteral("SELECT Item_ID FROM Import_Batch_Item WHERE Batch_ID = ? AND Kind = 'person'");
    Transaction transaction(m_db);
    m_db.execute(
        QStringLiteral("DELETE FROM Family_Connection WHERE rowid IN (SELECT Item_ID FROM Import_Batch_Item "
                       "WHERE Batch_ID = ? AND Kind = 'link') OR Member_ID IN (%1) OR Relative_Member_ID IN (%1)")
            .arg(people),
        {batch, batch, batch});
    for (const char* table : {"Member_Organizations", "Member_Responsibility"}) {
        const QString column = QString::fromLatin1(table) == u"Member_Organizations" ? QStringLiteral("MemberID")
                                                                                     : QStringLiteral("Member_ID");
        m_db.execute(QStringLiteral("DELETE FROM %1 WHERE %2 IN (%3)").arg(QString::fromLatin1(table), column, people),
                     {batch});
    }
    m_db.execute(QStringLiteral("DELETE FROM Member_External_ID WHERE Member_ID IN (%1)").arg(people), {batch});
    m_db.execute(QStringLiteral("DELETE FROM Member WHERE ID IN (%1)").arg(people), {batch});
    // The people of the roll it updated get their fields and their IDs in the other program back (each field
    // of a person is recorded once a batch).
    QStringList restorable = storedColumns();
    restorable << QStringLiteral("Head_Of_Household") << NameKey::column();
    for (const Row& item : m_db.select(QStringLiteral("SELECT Kind, Item_ID, List_Table, Value FROM "
                                                      "Import_Batch_Item WHERE Batch_ID = ? AND Kind IN ('field', "
                                                      "'external')"),
                                       {batch})) {
        const qint64 id = item.integer(u"Item_ID");
        if (item.text(u"Kind") == u"external") {
            m_db.execute(QStringLiteral("DELETE FROM Member_External_ID WHERE Member_ID = ?"), {id});
            if (!item.value(u"Value").isNull() || !item.text(u"List_Table").isEmpty()) {
                m_db.execute(QStringLiteral("INSERT INTO Member_External_ID (Member_ID, External_ID, "
                                            "External_Household) VALUES (?, ?, ?)"),
                             {id, item.value(u"Value"), item.text(u"List_Table")});
            }
        } else if (const QString column = item.text(u"List_Table"); restorable.contains(column)) {
            m_db.execute(QStringLiteral("UPDATE Member SET \"%1\" = ? WHERE ID = ?").arg(column),
                         {item.value(u"Value"), id});
        }
    }
    // The gifts of a gift import.
    m_db.execute(QStringLiteral("DELETE FROM Member_Contributions WHERE ID IN (SELECT Item_ID FROM "
                                "Import_Batch_Item WHERE Batch_ID = ? AND Kind = 'gift')"),
                 {batch});
    // The list entries the import added, unless someone still uses them.
    for (const Row& item : m_db.select(QStringLiteral("SELECT List_Table, Value FROM Import_Batch_Item WHERE "
                                                      "Batch_ID = ? AND Kind = 'value'"),
                                       {batch})) {
        for (const LookupList list : {LookupList::Titles, LookupList::MemberStatuses, LookupList::ChurchStatuses,
                                      LookupList::Relationships, LookupList::ContributionDesignations}) {
            if (LookupStore::tableOf(list) == item.text(u"List_Table")) {
                m_db.execute(QStringLiteral("DELETE FROM \"%1\" WHERE \"%2\" = ?")
                                 .arg(LookupStore::tableOf(list), LookupStore::columnOf(list)),
                             {item.text(u"Value")});
            }
        }
    }
    m_db.execute(QStringLiteral("UPDATE Import_Batch SET Undone = 1 WHERE ID = ?"), {batch});
    transaction.commit();
    return true;
}

void PersonImport::count(ImportPreview& preview, const QList<int>& skippedRows)
{
    const QSet<int> skipped(skippedRows.cbegin(), skippedRows.cend());
    preview.toImport = preview.skipped = preview.withProblems = preview.withWarnings = 0;
    preview.toAdd = preview.toUpdate = preview.fieldsToUpdate = preview.unchanged = 0;
    // Households of the rows that will be imported: two or more people under one key.
    QHash<QString, int> householdSizes;
    for (const ImportRow& row : std::as_const(preview.rows)) {
        if (skipped.contains(row.line)) {
            ++preview.skipped;
        } else if (!row.problems.isEmpty()) {
            ++preview.withProblems;
        } else {
            ++preview.toImport;
            preview.withWarnings += row.warnings.isEmpty() ? 0 : 1;
            if (!row.duplicateOf) {
                ++preview.toAdd;
            } else if (row.changes.isEmpty()) {
                ++preview.unchanged;
            } else {
                ++preview.toUpdate;
                preview.fieldsToUpdate += int(row.changes.size());
            }
            if (!row.household.isEmpty()) {
                ++householdSizes[row.household];
            }
        }
    }
    preview.households =
        int(std::count_if(householdSizes.cbegin(), householdSizes.cend(), [](int n) { return n > 1; }));
}

QString PersonImport::updateCounts(const ImportPreview& preview)
{
    const QLocale locale;
    return tr("%1 new, %2 updated (%3), %4 unchanged")
        .arg(locale.toString(preview.toAdd), locale.toString(preview.toUpdate),
             tr("%n field(s)", nullptr, preview.fieldsToUpdate), locale.toString(preview.unchanged));
}

CsvFile::Table PersonImport::readFile(const QString& path, QChar delimiter, JobProgress* progress)
{
    // The most rows read: ten times a large roll. The rows and their preview take about 3 KB each in memory,
    // so this bounds a file of short rows at under 1 GB.
    constexpr qsizetype kMostRows = 250000;
    // A file of people has a few dozen columns; one with thousands is no such file (and each column becomes
    // a row of the mapping table).
    constexpr qsizetype kMostColumns = 1000;
    CsvFile::Table table = CsvFile::read(path, delimiter, progress, kMostRows);
    if (table.rows.value(0).size() > kMostColumns) {
        throw CsvFile::CsvError(1, tr("The row has %1 cells; a file of people has at most %2 columns.")
                                       .arg(table.rows.value(0).size())
                                       .arg(kMostColumns));
    }
    return table;
}
