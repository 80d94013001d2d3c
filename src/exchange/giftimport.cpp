#include "exchange/giftimport.h"

#include "data/database.h"
#include "data/preparedstatement.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"
#include "exchange/importfields.h"
#include "exchange/importvalues.h"

#include <QRegularExpression>

namespace GiftFields {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(GiftFields)
};

struct Synonyms
{
    QString key;
    // Folded headings, the closest first.
    QList<const char*> names;
};

const QList<Synonyms>& synonyms()
{
    static const QList<Synonyms> table = {
        {kDate,
         {"date", "giftdate", "contributiondate", "donationdate", "datereceived", "received", "depositdate",
          "transactiondate", "batchdate", "givingdate"}},
        {kAmount,
         {"amount", "giftamount", "contributionamount", "donationamount", "total", "totalamount", "value", "sum",
          "receivedamount"}},
        {kMemberId, {"memberid", "kelvaneid"}},
        {kEnvelope, {"envelope", "envelopenumber", "envelopeno", "env", "envno", "givingnumber", "givernumber"}},
        {kLast, {"last", "lastname", "surname", "familyname"}},
        {kFirst, {"first", "firstname", "givenname"}},
        {kName, {"name", "giver", "givername", "donor", "donorname", "contributor", "fullname", "personname"}},
        {kDesignation,
         {"designation", "fund", "fundname", "account", "category", "purpose", "givingcategory", "campaign"}},
        {kReference,
         {"refno", "reference", "referencenumber", "ref", "checknumber", "checkno", "check", "cheque", "chequenumber",
          "paymentreference"}},
        {kNote, {"note", "notes", "memo", "comment", "comments", "description"}},
        {kTransaction, {"transactionid", "giftid", "donationid", "contributionid", "batchid", "id"}},
    };
    return table;
}

} // namespace

QList<std::pair<QString, QString>> all()
{
    return {
        {kDate, Text::tr("Date")},
        {kAmount, Text::tr("Amount")},
        {kMemberId, Text::tr("Kelvane ID")},
        {kEnvelope, Text::tr("Envelope No.")},
        {kLast, Text::tr("Last Name")},
        {kFirst, Text::tr("First Name")},
        {kName, Text::tr("Name")},
        {kDesignation, Text::tr("Designation")},
        {kReference, Text::tr("Ref No.")},
        {kNote, Text::tr("Note")},
        {kTransaction, Text::tr("Transaction ID")},
    };
}

QStringList guessMapping(const QStringList& headings)
{
    QStringList mapping;
    for (const QString& heading : headings) {
        const QString name = ImportFields::folded(heading);
        QString field;
        for (const Synonyms& entry : synonyms()) {
            if (std::any_of(entry.names.cbegin(), entry.names.cend(),
                            [&name](const char* synonym) { return name == QLatin1String(synonym); })) {
                field = entry.key;
                break;
            }
        }
        mapping << (mapping.contains(field) ? QString() : field);
    }
    return mapping;
}

ParsedAmount readAmount(const QString& text, bool decimalComma)
{
    QString typed = text.trimmed();
    if (decimalComma) {
        // "1.234,50" is "1,234.50" written the other way.
        for (QChar& c : typed) {
            c = c == u',' ? QChar(u'.') : c == u'.' ? QChar(u',') : c;
        }
    }
    return parseAmount(typed);
}

bool usesDecimalComma(const QList<QStringList>& rows, int amountColumn, QChar delimiter)
{
    if (delimiter != u';' || amountColumn < 0) {
        return false;
    }
    static const QRegularExpression comma(QStringLiteral("\\d,\\d{1,2}\\)?\\s*$"));
    static const QRegularExpression point(QStringLiteral("\\d\\.\\d{1,2}\\)?\\s*$"));
    int commas = 0;
    int points = 0;
    for (const QStringList& row : rows) {
        const QString cell = row.value(amountColumn);
        commas += comma.match(cell).hasMatch() ? 1 : 0;
        points += point.match(cell).hasMatch() ? 1 : 0;
    }
    return commas > points;
}

} // namespace GiftFields

namespace {

QString nameKey(const QString& last, const QString& first)
{
    return last.simplified().toLower() + u'|' + first.simplified().toLower();
}

// How often the preview tells its progress and looks whether it should stop.
constexpr int kRowsPerReport = 1024;

// The people fields whose headings show a file of people rather than of gifts.
bool looksLikePeople(const QStringList& headings)
{
    int personal = 0;
    for (const QString& field : ImportFields::guessMapping(headings)) {
        static const QStringList people = {QStringLiteral("Address_1"), QStringLiteral("City"),
                                           QStringLiteral("Zip"),       QStringLiteral("Date_Of_Birth"),
                                           QStringLiteral("Email"),     QStringLiteral("Phone"),
                                           QStringLiteral("Cell"),      QStringLiteral("Gender")};
        personal += people.contains(field) ? 1 : 0;
    }
    return personal >= 2;
}

} // namespace

QString GiftImport::giftKey(qint64 memberId, const QString& isoDate, qint64 cents, const QString& reference)
{
    return QString::number(memberId) + u'|' + isoDate + u'|' + QString::number(cents) + u'|' +
           reference.trimmed().toLower();
}

GiftReference GiftImport::reference()
{
    GiftReference reference;
    Query people = m_db.query(QStringLiteral("SELECT ID, Last_Name, First_Name, Envelope, Status FROM Member"));
    while (people.next()) {
        const Row row = people.row();
        const qint64 id = row.integer(u"ID");
        const QString envelope = row.text(u"Envelope").trimmed();
        reference.people.insert(
            id, {id, row.text(u"Last_Name") + QStringLiteral(", ") + row.text(u"First_Name"), envelope});
        // A deleted member keeps his gifts (found by his ID), but no envelope or name finds him.
        if (row.text(u"Status") == u"Deleted Member") {
            continue;
        }
        if (!envelope.isEmpty()) {
            reference.byEnvelope.insert(envelope.toLower(), id);
        }
        reference.byName.insert(nameKey(row.text(u"Last_Name"), row.text(u"First_Name")), id);
    }
    for (const QString& name : m_db.texts(QStringLiteral("SELECT Name FROM ContributionDesignation"))) {
        reference.designations.insert(ImportValues::listKey(name), name);
    }
    Query gifts =
        m_db.query(QStringLiteral("SELECT MemberID, ContributionDate, Amount, RefNumber FROM Member_Contributions"));
    while (gifts.next()) {
        const Row row = gifts.row();
        reference.storedGifts.insert(giftKey(row.integer(u"MemberID"), row.text(u"ContributionDate"),
                                             row.integer(u"Amount"), row.text(u"RefNumber")));
    }
    return reference;
}

GiftPreview GiftImport::preview(const GiftReference& reference, const QList<QStringList>& rows,
                                const GiftOptions& options, JobProgress* progress)
{
    GiftPreview preview;
    const auto column = [&options](const QString& field) { return int(options.mapping.indexOf(field)); };
    if (column(GiftFields::kAmount) < 0) {
        const QStringList headings = options.hasHeadings ? rows.value(0) : QStringList();
        preview.refusal =
            looksLikePeople(headings) ? tr("This file holds people, not gifts: import it with File > Import People….")
            : column(GiftFields::kTransaction) >= 0
                ? tr("The file holds no amounts: its gift lines name a transaction whose amount is in another "
                     "file. Join the two files in a spreadsheet (the amount beside each line), then import that.")
                : tr("No column holds the amounts: map one to Amount.");
        return preview;
    }
    const bool decimalComma = GiftFields::usesDecimalComma(rows.mid(options.hasHeadings ? 1 : 0),
                                                           column(GiftFields::kAmount), options.delimiter);
    QSet<QString> missing;
    const int first = options.hasHeadings ? 1 : 0;
    preview.rows.reserve(rows.size());
    for (int index = first; index < rows.size(); ++index) {
        if (index % kRowsPerReport == 0) {
            reportProgress(progress, index, rows.size(), tr("Checking gift %1 of %2").arg(index).arg(rows.size()));
        }
        const QStringList& cells = rows.at(index);
        if (std::all_of(cells.cbegin(), cells.cend(), [](const QString& c) { return c.trimmed().isEmpty(); })) {
            continue;
        }
        const auto cell = [&cells, &column](const QString& field) {
            const int at = column(field);
            return at < 0 ? QString() : cells.value(at).trimmed();
        };
        GiftRow row;
        row.line = index + 1;
        for (const CsvFile::Repair& repair : options.repairs) {
            if (repair.row == row.line) {
                row.warnings << tr("Read leniently: %1.").arg(repair.how);
            }
        }

        const QString dateText = cell(GiftFields::kDate);
        const ImportFields::ParsedDate date = ImportFields::parseDate(dateText);
        if (dateText.isEmpty()) {
            row.problems << tr("No date.");
        } else if (!date.date.isValid()) {
            row.problems << tr("Date: %1").arg(date.problem.isEmpty() ? date.warning : date.problem);
        } else {
            row.date = SqlValue::fromDate(date.date);
            if (options.today.isValid() && date.date > options.today) {
                row.warnings << tr("The date %1 is in the future.").arg(dateText);
            }
        }

        const QString amountText = cell(GiftFields::kAmount);
        const ParsedAmount amount = GiftFields::readAmount(amountText, decimalComma);
        if (amountText.isEmpty()) {
            row.problems << tr("No amount.");
        } else if (!amount.ok()) {
            row.problems << tr("Amount \"%1\": %2").arg(amountText, amount.error);
        } else if (*amount.cents == 0) {
            row.problems << tr("The amount is zero.");
        } else {
            row.cents = *amount.cents;
        }

        // The giver: by Kelvane's ID, else by envelope, else by name.
        QList<qint64> givers;
        QString by;
        const QString id = cell(GiftFields::kMemberId);
        const QString envelope = cell(GiftFields::kEnvelope);
        QString last = cell(GiftFields::kLast);
        QString firstName = cell(GiftFields::kFirst);
        if (last.isEmpty() && !cell(GiftFields::kName).isEmpty()) {
            const QString name = cell(GiftFields::kName);
            const qsizetype comma = name.indexOf(u',');
            if (comma >= 0) {
                last = name.left(comma).trimmed();
                firstName = name.mid(comma + 1).trimmed();
            } else {
                const qsizetype space = name.trimmed().lastIndexOf(u' ');
                last = name.trimmed().mid(space + 1);
                firstName = space < 0 ? QString() : name.trimmed().left(space);
            }
        }
        if (!id.isEmpty()) {
            by = tr("ID %1").arg(id);
            if (reference.people.contains(id.toLongLong())) {
                givers << id.toLongLong();
            }
        } else if (!envelope.isEmpty()) {
            by = tr("envelope %1").arg(envelope);
            givers = reference.byEnvelope.values(envelope.toLower());
        } else if (!last.isEmpty()) {
            by = tr("the name %1").arg(firstName.isEmpty() ? last : last + QStringLiteral(", ") + firstName);
            givers = reference.byName.values(nameKey(last, firstName));
        }
        if (by.isEmpty()) {
            row.problems << tr("No giver: the row has no ID, envelope or name.");
        } else if (givers.isEmpty()) {
            row.problems << tr("No one on the roll has %1.").arg(by);
        } else if (givers.size() > 1) {
            QStringList names;
            for (const qint64 giver : std::as_const(givers)) {
                names << reference.people.value(giver).name;
            }
            names.sort();
            row.problems << tr("%1 matches more than one person: %2.").arg(by, names.join(QStringLiteral("; ")));
        } else {
            row.memberId = givers.first();
            row.giver = reference.people.value(row.memberId).name;
            row.envelope = reference.people.value(row.memberId).envelope;
        }

        const QString designation = cell(GiftFields::kDesignation);
        if (designation.isEmpty()) {
            row.problems << tr("No designation.");
        } else if (const QString stored = reference.designations.value(ImportValues::listKey(designation));
                   !stored.isEmpty()) {
            row.designation = stored;
        } else if (options.addMissingDesignations) {
            row.designation = designation;
            missing.insert(designation);
        } else {
            row.problems << tr("The designation \"%1\" is not in the list.").arg(designation);
            missing.insert(designation);
        }
        row.reference = cell(GiftFields::kReference);
        if (row.memberId != 0 && !row.date.isEmpty() &&
            reference.storedGifts.contains(giftKey(row.memberId, row.date, row.cents, row.reference))) {
            row.possibleDuplicate = true;
            row.warnings << tr("Possible duplicate: %1 has a gift of the same date, amount and reference stored.")
                                .arg(row.giver);
        }
        preview.rows << row;
    }
    preview.missingDesignations = QStringList(missing.cbegin(), missing.cend());
    preview.missingDesignations.sort(Qt::CaseInsensitive);
    count(preview, options.skippedRows);
    return preview;
}

void GiftImport::count(GiftPreview& preview, const QList<int>& skippedRows)
{
    const QSet<int> skipped(skippedRows.cbegin(), skippedRows.cend());
    preview.toImport = preview.withProblems = preview.possibleDuplicates = 0;
    preview.totalCents = 0;
    QMap<QString, DesignationTotal> totals;
    for (const GiftRow& row : std::as_const(preview.rows)) {
        if (!row.problems.isEmpty()) {
            ++preview.withProblems;
            continue;
        }
        if (skipped.contains(row.line)) {
            continue;
        }
        ++preview.toImport;
        preview.possibleDuplicates += row.possibleDuplicate ? 1 : 0;
        preview.totalCents += row.cents;
        DesignationTotal& total = totals[row.designation.toLower()];
        total.designation = row.designation;
        ++total.gifts;
        total.cents += row.cents;
    }
    preview.totals = totals.values();
}

GiftImportResult GiftImport::import(const GiftPreview& preview, const GiftOptions& options, const QString& fileName,
                                    const QString& userName, const QDateTime& now)
{
    GiftImportResult result;
    const QString stamp = SqlValue::fromDateTime(now);
    const QSet<int> skipped(options.skippedRows.cbegin(), options.skippedRows.cend());
    Transaction transaction(m_db);
    result.batchId =
        m_db.insert(QStringLiteral("INSERT INTO Import_Batch (File, Imported_At, Imported_By) VALUES (?, ?, ?)"),
                    {fileName, stamp, userName});
    PreparedStatement record(m_db, QStringLiteral("INSERT INTO Import_Batch_Item (Batch_ID, Kind, Item_ID, "
                                                  "List_Table, Value) VALUES (?, ?, ?, ?, ?)"));
    for (const QString& designation : preview.missingDesignations) {
        if (!options.addMissingDesignations ||
            m_db.selectOne(QStringLiteral("SELECT 1 FROM ContributionDesignation WHERE lower(Name) = lower(?)"),
                           {designation})) {
            continue;
        }
        m_db.execute(QStringLiteral("INSERT INTO ContributionDesignation (Name) VALUES (?)"), {designation});
        record.execute({result.batchId, QStringLiteral("value"), QVariant(), QStringLiteral("ContributionDesignation"),
                        designation});
        ++result.designationsAdded;
    }
    PreparedStatement gift(m_db, QStringLiteral("INSERT INTO Member_Contributions (MemberID, ContributionDate, "
                                                "EnvelopeNumber, Amount, RefNumber, Designation, UserName, "
                                                "DateEntered) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const GiftRow& row : preview.rows) {
        if (!row.problems.isEmpty() || skipped.contains(row.line)) {
            continue;
        }
        const qint64 id = gift.insert(
            {row.memberId, row.date, row.envelope.isEmpty() ? QVariant() : QVariant(row.envelope), row.cents,
             row.reference.isEmpty() ? QVariant() : QVariant(row.reference), row.designation, userName, stamp});
        record.execute({result.batchId, QStringLiteral("gift"), id, QVariant(), QVariant()});
        ++result.gifts;
        result.cents += row.cents;
    }
    transaction.commit();
    return result;
}
