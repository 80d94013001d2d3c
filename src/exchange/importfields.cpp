#include "exchange/importfields.h"

#include "csv/csvfile.h"

#include <QLocale>
#include <QRegularExpression>

namespace ImportFields {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(ImportFields)
};

// A heading reduced to its letters and digits, lower case.
QString folded(const QString& heading)
{
    QString out;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber()) {
            out += c;
        }
    }
    return out;
}

struct Synonyms
{
    const char* key;
    QList<const char*> names;
};

const QList<Synonyms>& synonyms()
{
    static const QList<Synonyms> table = {
        {"Last_Name", {"last", "lastname", "surname", "familyname", "lname"}},
        {"First_Name", {"first", "firstname", "givenname", "forename", "fname"}},
        {"Middle_Name", {"middle", "middlename", "middleinitial", "mi"}},
        {"Title", {"title", "suffix"}},
        {"Address_1", {"address", "address1", "addressline1", "street", "streetaddress"}},
        {"Address_2", {"address2", "addressline2", "apt", "apartment", "suite"}},
        {"City", {"city", "town"}},
        {"State", {"state", "st", "province", "region"}},
        {"Zip", {"zip", "zipcode", "postalcode", "postcode"}},
        {"Phone", {"phone", "homephone", "telephone", "home", "tel"}},
        {"Cell", {"cell", "cellphone", "mobile", "mobilephone"}},
        {"Work_Phone", {"workphone", "work", "businessphone", "officephone"}},
        {"Email", {"email", "emailaddress", "mail"}},
        {"Date_Of_Birth", {"dob", "birthday", "birthdate", "dateofbirth", "born"}},
        {"Anniversary_Date", {"anniversary", "anniversarydate", "weddingdate"}},
        {"Gender", {"gender", "sex"}},
        {"Marital_Status", {"maritalstatus", "marital"}},
        {"Status", {"status", "memberstatus", "membership"}},
        {"Member_Active_Status", {"churchstatus", "active", "activestatus", "memberactivestatus"}},
        {"Prospect_Active_Status", {"prospectstatus", "prospectactivestatus"}},
        {"Member_Since", {"membersince", "joined", "datejoined"}},
        {"Envelope", {"envelope", "envelopenumber", "envelopeno", "env"}},
        {"Occupation", {"occupation", "job"}},
        {"Place_Of_Work", {"placeofwork", "employer", "company"}},
        {"Notes", {"notes", "note", "comments"}},
        {"household", {"household", "householdid", "family", "familyid", "householdkey"}},
        {"head", {"headofhousehold", "head", "hoh"}},
        {"relationship", {"relationship", "relation"}},
    };
    return table;
}

} // namespace

const QList<Field>& all()
{
    using K = Kind;
    static const QList<Field> fields = {
        {QStringLiteral("Last_Name"), Text::tr("Last Name"), K::Text, {}, {}},
        {QStringLiteral("First_Name"), Text::tr("First Name"), K::Text, {}, {}},
        {QStringLiteral("Middle_Name"), Text::tr("Middle Name"), K::Text, {}, {}},
        {QStringLiteral("Title"), Text::tr("Title"), K::Lookup, LookupList::Titles, {}},
        {QStringLiteral("Address_1"), Text::tr("Address1"), K::Text, {}, {}},
        {QStringLiteral("Address_2"), Text::tr("Address2"), K::Text, {}, {}},
        {QStringLiteral("City"), Text::tr("City"), K::Text, {}, {}},
        {QStringLiteral("State"), Text::tr("State"), K::State, {}, {}},
        {QStringLiteral("Zip"), Text::tr("Zip"), K::Text, {}, {}},
        {QStringLiteral("Phone"), Text::tr("Home Phone"), K::Phone, {}, {}},
        {QStringLiteral("Cell"), Text::tr("Cell"), K::Phone, {}, {}},
        {QStringLiteral("Work_Phone"), Text::tr("Work Phone"), K::Phone, {}, {}},
        {QStringLiteral("Email"), Text::tr("Email"), K::Text, {}, {}},
        {QStringLiteral("Date_Of_Birth"), Text::tr("Date of Birth"), K::Date, {}, {}},
        {QStringLiteral("Anniversary_Date"), Text::tr("Anniversary"), K::Date, {}, {}},
        {QStringLiteral("Gender"),
         Text::tr("Gender"),
         K::Choice,
         {},
         {QStringLiteral("Male"), QStringLiteral("Female"), QStringLiteral("Unknown")}},
        {QStringLiteral("Marital_Status"),
         Text::tr("Marital Status"),
         K::Choice,
         {},
         {QStringLiteral("Single"), QStringLiteral("Married"), QStringLiteral("Divorced"), QStringLiteral("Widowed")}},
        {QStringLiteral("Status"), Text::tr("Member Status"), K::Lookup, LookupList::MemberStatuses, {}},
        {QStringLiteral("Member_Active_Status"), Text::tr("Church Status"), K::Lookup, LookupList::ChurchStatuses, {}},
        {QStringLiteral("Prospect_Active_Status"),
         Text::tr("Prospect Status"),
         K::Lookup,
         LookupList::ProspectStatuses,
         {}},
        {QStringLiteral("Member_Since"), Text::tr("Member Since"), K::Date, {}, {}},
        {QStringLiteral("Envelope"), Text::tr("Envelope No."), K::Text, {}, {}},
        {QStringLiteral("Occupation"), Text::tr("Occupation"), K::Text, {}, {}},
        {QStringLiteral("Place_Of_Work"), Text::tr("Place of Work"), K::Text, {}, {}},
        {QStringLiteral("Notes"), Text::tr("Notes"), K::Text, {}, {}},
        {kHousehold, Text::tr("Household"), K::Household, {}, {}},
        {kHead, Text::tr("Head of Household"), K::Head, {}, {}},
        {kRelationship, Text::tr("Relationship"), K::Relationship, LookupList::Relationships, {}},
    };
    return fields;
}

const Field* find(const QString& key)
{
    for (const Field& field : all()) {
        if (field.key == key) {
            return &field;
        }
    }
    return nullptr;
}

QString fieldForHeading(const QString& heading)
{
    const QString name = folded(heading);
    for (const Synonyms& entry : synonyms()) {
        if (std::any_of(entry.names.cbegin(), entry.names.cend(),
                        [&name](const char* synonym) { return name == QLatin1String(synonym); })) {
            return QString::fromLatin1(entry.key);
        }
    }
    return {};
}

QStringList guessMapping(const QStringList& headings)
{
    QStringList mapping;
    for (const QString& heading : headings) {
        const QString field = fieldForHeading(heading);
        mapping << (mapping.contains(field) ? QString() : field);
    }
    return mapping;
}

std::optional<QStringList> readMapping(const QString& path, const QStringList& headings, QString& problem)
{
    QStringList mapping = guessMapping(headings);
    for (const QStringList& row : CsvFile::read(path).rows) {
        if (row.size() < 2) {
            continue;
        }
        const qsizetype column = headings.indexOf(row.at(0).trimmed());
        const QString field = row.at(1).trimmed();
        if (column < 0 || (!field.isEmpty() && find(field) == nullptr)) {
            problem = Text::tr("The mapping %1 names the heading \"%2\" or the field \"%3\", which the file or the "
                               "program does not have.")
                          .arg(path, row.at(0), field);
            return std::nullopt;
        }
        mapping[column] = field;
    }
    return mapping;
}

void writeMapping(const QString& path, const QStringList& headings, const QStringList& mapping)
{
    QList<QStringList> rows;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        rows << QStringList{headings.at(i), mapping.value(i)};
    }
    if (!CsvFile::writeFile(path, rows)) {
        throw CsvFile::CsvError(0, Text::tr("The file %1 could not be written.").arg(path));
    }
}

ParsedDate parseDate(const QString& text)
{
    const QString typed = text.simplified();
    if (typed.isEmpty()) {
        return {};
    }
    static const QRegularExpression twoDigitYear(QStringLiteral("^\\d{1,2}[/.-]\\d{1,2}[/.-]\\d{2}$|"
                                                                "^\\d{1,2}[ -][A-Za-z]+[ -]\\d{2}$|"
                                                                "^[A-Za-z]+ \\d{1,2},? \\d{2}$"));
    if (twoDigitYear.match(typed).hasMatch()) {
        return {{}, Text::tr("\"%1\" has a two-digit year; write the year in full.").arg(text)};
    }
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QStringList formats = {
        QStringLiteral("yyyy-MM-dd"),  QStringLiteral("yyyy-M-d"),     QStringLiteral("M/d/yyyy"),
        QStringLiteral("d MMMM yyyy"), QStringLiteral("d MMM yyyy"),   QStringLiteral("d-MMM-yyyy"),
        QStringLiteral("d-MMMM-yyyy"), QStringLiteral("MMMM d, yyyy"), QStringLiteral("MMM d, yyyy"),
        QStringLiteral("MMMM d yyyy"), QStringLiteral("MMM d yyyy"),
    };
    // A time after the date (as some spreadsheets write it) is dropped.
    QString datePart = typed;
    if (datePart.size() > 10 && datePart.at(4) == u'-' && (datePart.at(10) == u'T' || datePart.at(10) == u' ')) {
        datePart = datePart.left(10);
    }
    for (const QString& format : formats) {
        const QDate date = english.toDate(datePart, format);
        if (date.isValid()) {
            return {date, {}};
        }
    }
    return {{},
            Text::tr("\"%1\" is no date this import can read (use 2024-03-31, 3/31/2024 or 31 March 2024).").arg(text)};
}

} // namespace ImportFields
