#include "exchange/personimport.h"

#include "core/textformat.h"
#include "csv/csvfile.h"
#include "data/database.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"
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
        out.insert(entry.toLower(), entry);
    }
    return out;
}

bool isYes(const QString& text)
{
    static const QStringList yes = {QStringLiteral("yes"), QStringLiteral("y"), QStringLiteral("true"),
                                    QStringLiteral("1"),   QStringLiteral("x"), QStringLiteral("head")};
    return yes.contains(text.trimmed().toLower());
}

QString lowerSimplified(const QString& text)
{
    return text.simplified().toLower();
}

// The key of a person for duplicate checks: same last and first name.
QString nameKey(const QString& last, const QString& first)
{
    return lowerSimplified(last) + u'|' + lowerSimplified(first);
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
    Query query = m_db.query(QStringLiteral("SELECT ID, Last_Name, First_Name, Date_Of_Birth, Email, Address_1 "
                                            "FROM Member"));
    while (query.next()) {
        reference.roll.insert(nameKey(query.value(1).toString(), query.value(2).toString()),
                              {query.value(0).toLongLong(), query.value(3).toString(),
                               lowerSimplified(query.value(4).toString()), lowerSimplified(query.value(5).toString())});
    }
    return reference;
}

ImportPreview PersonImport::preview(const ImportReference& reference, const QList<QStringList>& rows,
                                    const ImportOptions& options, JobProgress* progress)
{
    const QHash<int, Entries>& lists = reference.lists;
    const QSet<QString>& storedEnvelopes = reference.envelopes;
    const QMultiHash<QString, ImportReference::Person>& roll = reference.roll;
    QMap<std::pair<int, QString>, UnknownValue> unknown;

    ImportPreview preview;
    QHash<QString, int> envelopeLines;
    QMultiHash<QString, const ImportRow*> earlier;
    const int first = options.hasHeadings ? 1 : 0;
    const QString active = options.mapping.contains(QStringLiteral("Member_Active_Status"))
                               ? QString()
                               : lists[int(LookupList::ChurchStatuses)].value(QStringLiteral("active"));
    const QString activeProspect = options.mapping.contains(QStringLiteral("Prospect_Active_Status"))
                                       ? QString()
                                       : lists[int(LookupList::ProspectStatuses)].value(QStringLiteral("active"));
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
        for (int column = 0; column < std::min(cells.size(), options.mapping.size()); ++column) {
            const ImportFields::Field* field = ImportFields::find(options.mapping.at(column));
            // A cell our export marked as text ("'=...") comes back as it was.
            const QString value = CsvFile::unguardedCell(cells.at(column).trimmed());
            if (field == nullptr || value.isEmpty()) {
                continue;
            }
            switch (field->kind) {
                case Kind::Text:
                    row.values.insert(field->key, value);
                    break;
                case Kind::Date: {
                    const ImportFields::ParsedDate parsed = ImportFields::parseDate(value);
                    if (parsed.problem.isEmpty()) {
                        row.values.insert(field->key, SqlValue::fromDate(parsed.date));
                    } else {
                        row.problems << field->label + QStringLiteral(": ") + parsed.problem;
                    }
                    break;
                }
                case Kind::Phone: {
                    QString digits;
                    for (const QChar c : value) {
                        if (c.isDigit()) {
                            digits += c;
                        }
                    }
                    if (digits.size() == 11 && digits.startsWith(u'1')) {
                        digits = digits.mid(1);
                    }
                    if (digits.size() == 10) {
                        row.values.insert(field->key, parsePhone(digits).value_or(digits));
                    } else {
                        row.problems << tr("%1: \"%2\" is not a ten-digit phone number.").arg(field->label, value);
                    }
                    break;
                }
                case Kind::State: {
                    const Entries& states = lists[int(LookupList::States)];
                    if (states.contains(value.toLower())) {
                        row.values.insert(field->key, states.value(value.toLower()));
                    } else {
                        row.problems << tr("State: \"%1\" is not a state of the list.").arg(value);
                    }
                    break;
                }
                case Kind::Choice: {
                    const auto match =
                        std::find_if(field->choices.cbegin(), field->choices.cend(), [&](const QString& c) {
                            return c.compare(value, Qt::CaseInsensitive) == 0 ||
                                   (value.size() == 1 && c.startsWith(value, Qt::CaseInsensitive));
                        });
                    if (match != field->choices.cend()) {
                        row.values.insert(field->key, *match);
                    } else {
                        row.problems << tr("%1: \"%2\" is none of %3.")
                                            .arg(field->label, value, field->choices.join(QStringLiteral(", ")));
                    }
                    break;
                }
                case Kind::Lookup:
                case Kind::Relationship: {
                    const LookupList list = *field->list;
                    const Entries& entries = lists[int(list)];
                    QString stored;
                    if (entries.contains(value.toLower())) {
                        stored = entries.value(value.toLower());
                    } else {
                        const auto decision = options.decisions.constFind({int(list), value.toLower()});
                        if (decision != options.decisions.cend() && decision->add) {
                            stored = value;
                        } else if (decision != options.decisions.cend() && !decision->mapTo.isEmpty()) {
                            stored = decision->mapTo;
                        } else {
                            UnknownValue& entry = unknown[{int(list), value.toLower()}];
                            entry.list = list;
                            entry.value = value;
                            ++entry.rows;
                            row.problems << tr("%1: \"%2\" is not in the list.").arg(field->label, value);
                        }
                    }
                    if (field->kind == Kind::Relationship) {
                        row.relationship = stored;
                    } else if (!stored.isEmpty()) {
                        row.values.insert(field->key, stored);
                    }
                    break;
                }
                case Kind::Household:
                    row.household = value;
                    break;
                case Kind::Head:
                    row.head = isYes(value);
                    break;
            }
        }
        // A file without a church status column brings its people in as "Active", and its prospects with the
        // prospect status "Active", as the office enters them: no status would keep them off the class rolls and
        // the prospect listing, and lock their member fields on the member screen.
        if (!active.isEmpty()) {
            row.values.insert(QStringLiteral("Member_Active_Status"), active);
        }
        if (!activeProspect.isEmpty() &&
            row.values.value(QStringLiteral("Status")).compare(u"Prospect", Qt::CaseInsensitive) == 0) {
            row.values.insert(QStringLiteral("Prospect_Active_Status"), activeProspect);
        }
        const QString last = row.values.value(QStringLiteral("Last_Name"));
        if (last.isEmpty()) {
            row.problems << tr("No last name (it is required).");
        }
        const QString envelope = row.values.value(QStringLiteral("Envelope")).toLower();
        if (!envelope.isEmpty()) {
            if (storedEnvelopes.contains(envelope)) {
                row.problems << tr("Envelope %1 belongs to a person of the roll already.")
                                    .arg(row.values.value(QStringLiteral("Envelope")));
            } else if (envelopeLines.contains(envelope)) {
                row.problems << tr("Envelope %1 is also given to row %2.")
                                    .arg(row.values.value(QStringLiteral("Envelope")))
                                    .arg(envelopeLines.value(envelope));
            } else {
                envelopeLines.insert(envelope, row.line);
            }
        }
        // Possible duplicates: the same last and first name with the same birth date, e-mail or address.
        const QString key = nameKey(last, row.values.value(QStringLiteral("First_Name")));
        const QString birth = row.values.value(QStringLiteral("Date_Of_Birth"));
        const QString email = lowerSimplified(row.values.value(QStringLiteral("Email")));
        const QString address = lowerSimplified(row.values.value(QStringLiteral("Address_1")));
        const auto reasonFor = [&](const QString& theirBirth, const QString& theirEmail,
                                   const QString& theirAddress) -> QString {
            if (!birth.isEmpty() && birth == theirBirth) {
                return tr("same name and birth date");
            }
            if (!email.isEmpty() && email == theirEmail) {
                return tr("same name and e-mail");
            }
            if (!address.isEmpty() && address == theirAddress) {
                return tr("same name and address");
            }
            return {};
        };
        if (!last.isEmpty()) {
            for (auto it = roll.constFind(key); it != roll.cend() && it.key() == key && !row.duplicateOf; ++it) {
                const QString reason = reasonFor(it->birth, it->email, it->address);
                if (!reason.isEmpty()) {
                    row.duplicateOf = it->id;
                    row.duplicateReason = reason;
                }
            }
        }
        preview.rows << row;
    }
    // Within the file: each row against the rows before it.
    QMultiHash<QString, int> byName;
    for (int i = 0; i < preview.rows.size(); ++i) {
        if (i % kRowsPerReport == 0) {
            reportProgress(progress, i, preview.rows.size(),
                           tr("Comparing row %1 of %2 with the rows before it").arg(i + 1).arg(preview.rows.size()));
        }
        ImportRow& row = preview.rows[i];
        const QString key =
            nameKey(row.values.value(QStringLiteral("Last_Name")), row.values.value(QStringLiteral("First_Name")));
        for (auto it = byName.constFind(key); it != byName.cend() && it.key() == key && !row.duplicateOfLine; ++it) {
            const ImportRow& other = preview.rows.at(it.value());
            const QString birth = row.values.value(QStringLiteral("Date_Of_Birth"));
            const QString email = lowerSimplified(row.values.value(QStringLiteral("Email")));
            const QString address = lowerSimplified(row.values.value(QStringLiteral("Address_1")));
            QString reason;
            if (!birth.isEmpty() && birth == other.values.value(QStringLiteral("Date_Of_Birth"))) {
                reason = tr("same name and birth date");
            } else if (!email.isEmpty() && email == lowerSimplified(other.values.value(QStringLiteral("Email")))) {
                reason = tr("same name and e-mail");
            } else if (!address.isEmpty() &&
                       address == lowerSimplified(other.values.value(QStringLiteral("Address_1")))) {
                reason = tr("same name and address");
            }
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

    count(preview, options.skippedRows);
    for (auto it = options.decisions.cbegin(); it != options.decisions.cend(); ++it) {
        if (it->add && !lists[it.key().first].contains(it.key().second)) {
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
                                        const QString& value) {
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

    // The people, and who belongs to which household.
    QHash<QString, QList<std::pair<qint64, const ImportRow*>>> households;
    for (const ImportRow& row : preview.rows) {
        if (!row.problems.isEmpty() || options.skippedRows.contains(row.line)) {
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
        if (!row.household.isEmpty()) {
            households[row.household] << std::pair{id, &row};
        }
    }

    for (const auto& members : std::as_const(households)) {
        if (members.size() < 2) {
            continue;
        }
        // The head: the row marked so, else the first adult, else the first row.
        const auto marked =
            std::find_if(members.cbegin(), members.cend(), [](const auto& m) { return m.second->head; });
        const auto adult = std::find_if(members.cbegin(), members.cend(), [&now](const auto& m) {
            return ageOn(m.second->values.value(QStringLiteral("Date_Of_Birth")), now.date()) >= 18;
        });
        const auto head = marked != members.cend() ? marked : adult != members.cend() ? adult : members.cbegin();
        m_db.execute(QStringLiteral("UPDATE Member SET Head_Of_Household = 1 WHERE ID = ?"), {head->first});
        const ImportRow& headRow = *head->second;
        for (const auto& [id, row] : members) {
            if (id == head->first) {
                continue;
            }
            QString relationship = row->relationship;
            if (relationship.isEmpty()) {
                relationship = kOther;
                addEntry(LookupList::Relationships, kOther);
            }
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
    m_db.execute(QStringLiteral("DELETE FROM Member WHERE ID IN (%1)").arg(people), {batch});
    // The list entries the import added, unless someone still uses them.
    for (const Row& item : m_db.select(QStringLiteral("SELECT List_Table, Value FROM Import_Batch_Item WHERE "
                                                      "Batch_ID = ? AND Kind = 'value'"),
                                       {batch})) {
        for (const LookupList list :
             {LookupList::Titles, LookupList::MemberStatuses, LookupList::ChurchStatuses, LookupList::Relationships}) {
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
    preview.toImport = preview.skipped = preview.withProblems = 0;
    // Households of the rows that will be imported: two or more people under one key.
    QHash<QString, int> householdSizes;
    for (const ImportRow& row : std::as_const(preview.rows)) {
        if (skipped.contains(row.line)) {
            ++preview.skipped;
        } else if (!row.problems.isEmpty()) {
            ++preview.withProblems;
        } else {
            ++preview.toImport;
            if (!row.household.isEmpty()) {
                ++householdSizes[row.household];
            }
        }
    }
    preview.households =
        int(std::count_if(householdSizes.cbegin(), householdSizes.cend(), [](int n) { return n > 1; }));
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
