#include "exchange/importfields.h"

#include "csv/csvfile.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSet>

namespace ImportFields {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(ImportFields)
};

struct Synonyms
{
    const char* key;
    // Folded headings, the closest first.
    QList<const char*> names;
};

// The usual names of each field in church programs and spreadsheets, folded (letters and digits, lower case).
const QList<Synonyms>& synonyms()
{
    static const QList<Synonyms> table = {
        {"Last_Name", {"lastname", "last", "surname", "lname", "familyname"}},
        {"First_Name", {"firstname", "first", "preferredname", "goesby", "fname"}},
        {"first_name_other", {"givenname", "legalfirstname", "forename", "nickname"}},
        {"Middle_Name", {"middlename", "middle", "middleinitial", "mi"}},
        {"Title", {"suffix", "namesuffix", "title"}},
        {"title_other", {"prefix", "nameprefix", "salutation"}},
        {"Address_1",
         {"address1", "address", "addressline1", "streetline1", "street1", "street", "streetaddress", "streetaddress1",
          "addr1", "line1"}},
        {"Address_2",
         {"address2", "addressline2", "streetline2", "street2", "streetaddress2", "addr2", "line2", "apt", "apartment",
          "suite"}},
        {"City", {"city", "town", "cityortown"}},
        {"State", {"state", "st", "province", "stateprovince", "stateorprovince", "region"}},
        {"Zip", {"zip", "zipcode", "postalcode", "postcode", "zippostalcode", "zipcodepostalcode", "postal"}},
        {"Phone",
         {"phone", "homephone", "homephonenumber", "phonenumber", "telephone", "home", "tel", "primaryphone",
          "householdphone"}},
        {"Cell",
         {"cell", "cellphone", "cellphonenumber", "mobile", "mobilephone", "mobilephonenumber", "cellnumber",
          "mobilenumber"}},
        {"Work_Phone", {"workphone", "workphonenumber", "work", "businessphone", "officephone", "workcell"}},
        {"Email",
         {"email", "emailaddress", "mail", "homeemail", "personalemail", "primaryemail", "primaryemailaddress",
          "email1"}},
        {"Date_Of_Birth", {"dateofbirth", "birthdate", "dob", "birthday", "born", "dateborn"}},
        {"Anniversary_Date", {"anniversary", "anniversarydate", "weddingdate", "weddinganniversary", "marriagedate"}},
        {"Gender", {"gender", "sex"}},
        {"Marital_Status", {"maritalstatus", "marital", "maritalstat"}},
        {"status_meaning",
         {"status", "memberstatus", "membership", "membershipstatus", "membertype", "membershiptype", "classification",
          "memberclassification", "connectionstatus", "connection", "recordstatus", "personstatus", "activestatus",
          "active", "inactive"}},
        {"Member_Active_Status", {"memberactivestatus", "churchstatus"}},
        {"Prospect_Active_Status", {"prospectactivestatus", "prospectstatus"}},
        {"Member_Since",
         {"membersince", "membershipdate", "datejoined", "joindate", "joined", "membershipstartdate", "memberdate",
          "datebecamemember"}},
        {"Envelope", {"envelope", "envelopenumber", "envelopeno", "env", "envno", "envnumber", "givingnumber"}},
        {"Occupation", {"occupation", "job", "jobtitle"}},
        {"Place_Of_Work", {"placeofwork", "employer", "company", "workplace"}},
        {"Notes", {"notes", "note", "comments", "comment"}},
        {"household",
         {"household", "householdid", "family", "familyid", "familynumber", "familyno", "householdnumber",
          "householdkey", "familykey"}},
        {"head", {"headofhousehold", "head", "hoh", "primarycontact", "householdprimarycontact", "isheadofhousehold"}},
        {"relationship", {"relationship", "relation", "relationshiptohead"}},
        {"family_role", {"familyrole", "householdrole", "role", "familyposition", "familymembertype", "position"}},
        {"external_id",
         {"personid", "individualid", "memberid", "externalid", "recordid", "peopleid", "contactid", "constituentid",
          "memberno", "membernumber"}},
        {"kelvane_id", {"id", "kelvaneid"}},
    };
    return table;
}

// Prefixes a heading of an address, phone or e-mail block carries before the field's own name ("Home Address
// Street Line 1", "Mailing City"), the longest first.
const QList<const char*>& blockPrefixes()
{
    static const QList<const char*> prefixes = {
        "homeaddress", "mailingaddress", "primaryaddress", "address", "mailing", "primary", "home", "personal",
    };
    return prefixes;
}

// How well a folded heading names the synonym at this place of its list.
constexpr int kExactScore = 1000;
constexpr int kPrefixedScore = 500;
constexpr int kScoreStep = 10;

} // namespace

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

namespace {

Field field(const QString& key, const QString& label, Kind kind, std::optional<LookupList> list = {},
            const QStringList& choices = {}, const QString& target = {}, bool repeatable = false)
{
    Field out;
    out.key = key;
    out.label = label;
    out.kind = kind;
    out.list = list;
    out.choices = choices;
    out.target = target;
    out.repeatable = repeatable;
    return out;
}

} // namespace

const QList<Field>& all()
{
    using K = Kind;
    static const QList<Field> fields = {
        field(QStringLiteral("Last_Name"), Text::tr("Last Name"), K::Text, {}, {}),
        field(QStringLiteral("First_Name"), Text::tr("First Name"), K::Text, {}, {}),
        field(QStringLiteral("first_name_other"), Text::tr("First Name (when empty)"), K::Fallback, {}, {},
              QStringLiteral("First_Name")),
        field(QStringLiteral("Middle_Name"), Text::tr("Middle Name"), K::Text, {}, {}),
        field(QStringLiteral("Title"), Text::tr("Title"), K::Lookup, LookupList::Titles, {}),
        field(QStringLiteral("title_other"), Text::tr("Title (when empty)"), K::Fallback, {}, {},
              QStringLiteral("Title")),
        field(QStringLiteral("Address_1"), Text::tr("Address1"), K::Text, {}, {}),
        field(QStringLiteral("Address_2"), Text::tr("Address2"), K::Text, {}, {}),
        field(QStringLiteral("City"), Text::tr("City"), K::Text, {}, {}),
        field(QStringLiteral("State"), Text::tr("State"), K::State, {}, {}),
        field(QStringLiteral("Zip"), Text::tr("Zip"), K::Text, {}, {}),
        field(QStringLiteral("Phone"), Text::tr("Home Phone"), K::Phone, {}, {}),
        field(QStringLiteral("Cell"), Text::tr("Cell"), K::Phone, {}, {}),
        field(QStringLiteral("Work_Phone"), Text::tr("Work Phone"), K::Phone, {}, {}),
        field(QStringLiteral("Email"), Text::tr("Email"), K::Text, {}, {}),
        field(QStringLiteral("Date_Of_Birth"), Text::tr("Date of Birth"), K::Date, {}, {}),
        field(QStringLiteral("Anniversary_Date"), Text::tr("Anniversary"), K::Date, {}, {}),
        field(QStringLiteral("Gender"), Text::tr("Gender"), K::Choice, {},
              {QStringLiteral("Male"), QStringLiteral("Female"), QStringLiteral("Unknown")}),
        field(QStringLiteral("Marital_Status"), Text::tr("Marital Status"), K::Choice, {},
              {QStringLiteral("Single"), QStringLiteral("Married"), QStringLiteral("Divorced"),
               QStringLiteral("Widowed")}),
        field(QStringLiteral("Status"), Text::tr("Member Status"), K::Lookup, LookupList::MemberStatuses, {}),
        field(kStatusMeaning, Text::tr("Status (by its meaning)"), K::StatusMeaning, {}, {}, {}, true),
        field(QStringLiteral("Member_Active_Status"), Text::tr("Church Status"), K::Lookup, LookupList::ChurchStatuses,
              {}),
        field(QStringLiteral("Prospect_Active_Status"), Text::tr("Prospect Status"), K::Lookup,
              LookupList::ProspectStatuses, {}),
        field(QStringLiteral("Member_Since"), Text::tr("Member Since"), K::Date, {}, {}),
        field(QStringLiteral("Envelope"), Text::tr("Envelope No."), K::Text, {}, {}),
        field(QStringLiteral("Occupation"), Text::tr("Occupation"), K::Text, {}, {}),
        field(QStringLiteral("Place_Of_Work"), Text::tr("Place of Work"), K::Text, {}, {}),
        field(QStringLiteral("Notes"), Text::tr("Notes"), K::Text, {}, {}),
        field(kHousehold, Text::tr("Household"), K::Household, {}, {}),
        field(kHead, Text::tr("Head of Household"), K::Head, {}, {}),
        field(kRelationship, Text::tr("Relationship"), K::Relationship, LookupList::Relationships, {}),
        field(kFamilyRole, Text::tr("Family Role"), K::FamilyRole, {}, {}),
        field(kExternalId, Text::tr("ID in the Other Program"), K::ExternalId, {}, {}),
        field(kKelvaneId, Text::tr("Kelvane ID"), K::KelvaneId, {}, {}),
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

HeadingMatch matchHeading(const QString& heading)
{
    const QString name = folded(heading);
    HeadingMatch best;
    const auto consider = [&best](const QString& candidate, int baseScore) {
        for (const Synonyms& entry : synonyms()) {
            for (int i = 0; i < entry.names.size(); ++i) {
                const int score = baseScore - kScoreStep * i;
                if (score > best.score && candidate == QLatin1String(entry.names.at(i))) {
                    best = {QString::fromLatin1(entry.key), score};
                }
            }
        }
    };
    consider(name, kExactScore);
    if (best.score == 0) {
        for (const char* prefix : blockPrefixes()) {
            const QLatin1String start(prefix);
            if (name.startsWith(start) && name.size() > start.size()) {
                consider(name.mid(start.size()), kPrefixedScore);
            }
        }
    }
    return best;
}

QString fieldForHeading(const QString& heading)
{
    return matchHeading(heading).field;
}

QStringList guessMapping(const QStringList& headings)
{
    QList<HeadingMatch> matches;
    QList<int> order;
    for (int i = 0; i < headings.size(); ++i) {
        matches << matchHeading(headings.at(i));
        order << i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&matches](int a, int b) { return matches.at(a).score > matches.at(b).score; });
    QSet<QString> named;
    for (const HeadingMatch& match : std::as_const(matches)) {
        named.insert(match.field);
    }
    QStringList mapping(headings.size());
    QSet<QString> taken;
    for (const int column : std::as_const(order)) {
        QString field = matches.at(column).field;
        if (field.isEmpty()) {
            continue;
        }
        const Field* known = find(field);
        // A fallback with no column for its field fills the field itself ("Given Name" alone is the first name).
        if (known != nullptr && known->kind == Kind::Fallback && !named.contains(known->target)) {
            named.insert(known->target);
            field = known->target;
            known = find(field);
        }
        if (taken.contains(field) && !(known != nullptr && known->repeatable)) {
            const auto fallback = std::find_if(all().cbegin(), all().cend(), [&field](const Field& f) {
                return f.kind == Kind::Fallback && f.target == field;
            });
            field = fallback != all().cend() && !taken.contains(fallback->key) ? fallback->key : QString();
        }
        if (!field.isEmpty()) {
            mapping[column] = field;
            taken.insert(field);
        }
    }
    return mapping;
}

std::optional<QStringList> readMapping(const QString& path, const QStringList& headings, QString& problem)
{
    return readMapping(
        path, headings, guessMapping(headings), [](const QString& field) { return find(field) != nullptr; }, problem);
}

std::optional<QStringList> readMapping(const QString& path, const QStringList& headings, QStringList mapping,
                                       const std::function<bool(const QString&)>& isField, QString& problem)
{
    for (const QStringList& row : CsvFile::read(path).rows) {
        if (row.size() < 2) {
            continue;
        }
        const qsizetype column = headings.indexOf(row.at(0).trimmed());
        const QString field = row.at(1).trimmed();
        if (column < 0 || (!field.isEmpty() && !isField(field))) {
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

ParsedDate parseDate(const QString& text, const QList<int>& moreNoYear)
{
    QString typed = text.simplified();
    if (typed.isEmpty()) {
        return {};
    }
    // A time after the date, as databases and spreadsheets write it, is dropped.
    static const QRegularExpression time(QStringLiteral("^(.*\\d)[ T]+\\d{1,2}:\\d{2}(:\\d{2}(\\.\\d+)?)?\\s*"
                                                        "([AaPp]\\.?[Mm]\\.?)?\\s*(Z|[+-]\\d{2}:?\\d{2})?$"));
    if (const QRegularExpressionMatch match = time.match(typed); match.hasMatch()) {
        typed = match.captured(1);
    }
    // A day without a year: month and day alone, or a year other programs write for "not known".
    static const QRegularExpression monthDay(QStringLiteral("^(\\d{1,2}[/-]\\d{1,2}|--\\d{2}-?\\d{2})$"));
    static const QRegularExpression numericYear(
        QStringLiteral("^(\\d{4})-\\d{1,2}-\\d{1,2}$|^\\d{1,2}[/.-]\\d{1,2}[/.-](\\d{4})$"));
    const QRegularExpressionMatch numeric = numericYear.match(typed);
    static const QList<int> noYear = {0, 1, 1885, 9999};
    const int year = QString(numeric.captured(1) + numeric.captured(2)).toInt();
    if (monthDay.match(typed).hasMatch() ||
        (numeric.hasMatch() && (noYear.contains(year) || moreNoYear.contains(year)))) {
        return {{}, {}, Text::tr("\"%1\" has no year; no date is stored.").arg(text)};
    }
    static const QRegularExpression twoDigitYear(QStringLiteral("^\\d{1,2}[/.-]\\d{1,2}[/.-]\\d{2}$|"
                                                                "^\\d{1,2}[ -][A-Za-z]+[ -]\\d{2}$|"
                                                                "^[A-Za-z]+ \\d{1,2},? \\d{2}$"));
    if (twoDigitYear.match(typed).hasMatch()) {
        return {{}, Text::tr("\"%1\" has a two-digit year; write the year in full.").arg(text), {}};
    }
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QStringList formats = {
        QStringLiteral("yyyy-MM-dd"),  QStringLiteral("yyyy-M-d"),     QStringLiteral("M/d/yyyy"),
        QStringLiteral("d MMMM yyyy"), QStringLiteral("d MMM yyyy"),   QStringLiteral("d-MMM-yyyy"),
        QStringLiteral("d-MMMM-yyyy"), QStringLiteral("MMMM d, yyyy"), QStringLiteral("MMM d, yyyy"),
        QStringLiteral("MMMM d yyyy"), QStringLiteral("MMM d yyyy"),   QStringLiteral("yyyy/M/d"),
    };
    for (const QString& format : formats) {
        const QDate date = english.toDate(typed, format);
        if (date.isValid()) {
            return {date, {}, {}};
        }
    }
    return {{},
            Text::tr("\"%1\" is no date this import can read (use 2024-03-31, 3/31/2024 or 31 March 2024).").arg(text),
            {}};
}

namespace {

struct LayoutRule
{
    const char* name;
    // Folded headings the file must all have.
    QList<const char*> headings;
    QList<int> noYear;
};

// The layouts known by their headings. Their conventions beyond the "no year" years (roles, status columns)
// are read by the heading synonyms and the value rules every file gets.
const QList<LayoutRule>& layouts()
{
    static const QList<LayoutRule> table = {
        {QT_TRANSLATE_NOOP("ImportFields", "a church program's people import template (family ID, family role and "
                                           "envelope number)"),
         {"familyid", "familyrole", "envelopenumber", "lastname", "firstname"},
         {1900}},
        {QT_TRANSLATE_NOOP("ImportFields", "a people export with given names, household IDs and an address block"),
         {"givenname", "firstname", "householdid", "homeaddressstreetline1"},
         {}},
        {QT_TRANSLATE_NOOP("ImportFields", "a people export by families with family roles"),
         {"family", "familyrole", "firstname", "lastname"},
         {}},
        {QT_TRANSLATE_NOOP("ImportFields", "a people export by families with family positions and mailing addresses"),
         {"familyid", "familyposition", "mailingstreet"},
         {}},
        {QT_TRANSLATE_NOOP("ImportFields", "Kelvane's own export of the roll"),
         {"id", "lastname", "firstname", "memberactivestatus", "prospectactivestatus", "household"},
         {}},
    };
    return table;
}

} // namespace

std::optional<KnownLayout> recognise(const QStringList& headings)
{
    QSet<QString> names;
    for (const QString& heading : headings) {
        names.insert(folded(heading));
    }
    for (const LayoutRule& layout : layouts()) {
        if (std::all_of(layout.headings.cbegin(), layout.headings.cend(),
                        [&names](const char* heading) { return names.contains(QString::fromLatin1(heading)); })) {
            return KnownLayout{QCoreApplication::translate("ImportFields", layout.name), layout.noYear};
        }
    }
    return std::nullopt;
}

} // namespace ImportFields
