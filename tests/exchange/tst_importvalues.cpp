#include "exchange/duplicaterule.h"
#include "exchange/importvalues.h"

#include <QTest>

using ImportValues::FamilyRole;
using ImportValues::Statuses;

Q_DECLARE_METATYPE(FamilyRole)

// The rules that read values other programs write: list entries compared loosely, salutations, phones, the
// status rule table and household roles.
class TestImportValues : public QObject
{
    Q_OBJECT

private slots:
    void listEntriesCompareLoosely_data();
    void listEntriesCompareLoosely();
    void salutationsAreNoTitles_data();
    void salutationsAreNoTitles();
    void phones_data();
    void phones();
    void statusRuleTable_data();
    void statusRuleTable();
    void everyStatusIsCompleted_data();
    void everyStatusIsCompleted();
    void familyRoles_data();
    void familyRoles();
    void samePerson_data();
    void samePerson();
};

void TestImportValues::listEntriesCompareLoosely_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("same");
    QTest::newRow("final dot") << "Dr"
                               << "Dr." << true;
    QTest::newRow("capitals") << "tn"
                              << "TN" << true;
    QTest::newRow("blank inside") << "In Active"
                                  << "InActive" << true;
    QTest::newRow("blanks around") << " Jr. "
                                   << "Jr." << true;
    QTest::newRow("other word") << "Sr"
                                << "Jr." << false;
    QTest::newRow("dot inside stays") << "Ph.D"
                                      << "PhD" << false;
}

void TestImportValues::listEntriesCompareLoosely()
{
    QFETCH(QString, written);
    QFETCH(QString, entry);
    QFETCH(bool, same);
    QCOMPARE(ImportValues::listKey(written) == ImportValues::listKey(entry), same);
}

void TestImportValues::salutationsAreNoTitles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("salutation");
    for (const char* text : {"Mr", "Mr.", "MRS", "Ms.", "Miss", "Master", "Mr. & Mrs."}) {
        QTest::newRow(text) << QString::fromLatin1(text) << true;
    }
    for (const char* text : {"Dr", "Rev.", "Jr.", "III", "Mister Rogers"}) {
        QTest::newRow(text) << QString::fromLatin1(text) << false;
    }
}

void TestImportValues::salutationsAreNoTitles()
{
    QFETCH(QString, text);
    QFETCH(bool, salutation);
    QCOMPARE(ImportValues::isSalutation(text), salutation);
}

void TestImportValues::phones_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("areaCode");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("asTyped");
    QTest::newRow("ten digits, dots") << "615.555.1234"
                                      << ""
                                      << "(615) 555-1234" << false;
    QTest::newRow("country code") << "+1 615 555 1234"
                                  << ""
                                  << "(615) 555-1234" << false;
    QTest::newRow("seven digits kept") << "555-1234"
                                       << ""
                                       << "555-1234" << true;
    QTest::newRow("seven digits completed") << "555-1234"
                                            << "615"
                                            << "(615) 555-1234" << false;
    QTest::newRow("area code not three digits") << "555-1234"
                                                << "61"
                                                << "555-1234" << true;
    QTest::newRow("extension") << "615-555-1234 x12"
                               << "615"
                               << "615-555-1234 x12" << true;
    QTest::newRow("foreign") << "+44 20 7946 0958"
                             << "615"
                             << "+44 20 7946 0958" << true;
}

void TestImportValues::phones()
{
    QFETCH(QString, typed);
    QFETCH(QString, areaCode);
    QFETCH(QString, stored);
    QFETCH(bool, asTyped);
    const ImportValues::PhoneReading phone = ImportValues::readPhone(typed, areaCode);
    QCOMPARE(phone.stored, stored);
    QCOMPARE(phone.asTyped, asTyped);
}

void TestImportValues::statusRuleTable_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("church");
    QTest::addColumn<QString>("prospect");
    QTest::newRow("record status active") << "Active" << true << ""
                                          << "Active"
                                          << "";
    QTest::newRow("record status inactive") << "Inactive" << true << ""
                                            << "InActive"
                                            << "";
    QTest::newRow("our own spelling") << "InActive" << true << ""
                                      << "InActive"
                                      << "";
    QTest::newRow("member") << "Member" << true << "Member"
                            << ""
                            << "";
    QTest::newRow("inactive member") << "Inactive Member" << true << "Member"
                                     << "InActive"
                                     << "";
    QTest::newRow("child of member") << "Child Of Member" << true << "Child Of Member"
                                     << ""
                                     << "";
    for (const char* visitor : {"Visitor", "Guest", "Attender", "Regular Attender", "Prospect", "Non-Member"}) {
        QTest::newRow(visitor) << QString::fromLatin1(visitor) << true << "Prospect"
                               << ""
                               << "Active";
    }
    for (const char* gone : {"Deceased", "Moved Away", "Former Member", "Previous Member"}) {
        QTest::newRow(gone) << QString::fromLatin1(gone) << true << "Previous Member"
                            << "InActive"
                            << "";
    }
    QTest::newRow("unknown") << "Elder" << false << ""
                             << ""
                             << "";
}

void TestImportValues::statusRuleTable()
{
    QFETCH(QString, value);
    QFETCH(bool, known);
    QFETCH(QString, member);
    QFETCH(QString, church);
    QFETCH(QString, prospect);
    const std::optional<Statuses> meaning = ImportValues::statusMeaning(value);
    QCOMPARE(meaning.has_value(), known);
    if (meaning) {
        QCOMPARE(meaning->member, member);
        QCOMPARE(meaning->church, church);
        QCOMPARE(meaning->prospect, prospect);
    }
}

void TestImportValues::everyStatusIsCompleted_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("church");
    QTest::addColumn<QString>("prospect");
    QTest::addColumn<QString>("expected"); // member|church|prospect
    QTest::newRow("nothing said") << ""
                                  << ""
                                  << ""
                                  << "Member|Active|Joined";
    QTest::newRow("inactive record") << ""
                                     << "InActive"
                                     << ""
                                     << "Member|InActive|Joined";
    QTest::newRow("prospect") << "Prospect"
                              << ""
                              << ""
                              << "Prospect|Active|Active";
    QTest::newRow("inactive prospect kept") << "Prospect"
                                            << ""
                                            << "InActive"
                                            << "Prospect|Active|InActive";
    QTest::newRow("child") << "Child Of Member"
                           << ""
                           << ""
                           << "Child Of Member|Active|InActive";
    QTest::newRow("previous member") << "Previous Member"
                                     << ""
                                     << ""
                                     << "Previous Member|InActive|InActive";
}

void TestImportValues::everyStatusIsCompleted()
{
    QFETCH(QString, member);
    QFETCH(QString, church);
    QFETCH(QString, prospect);
    QFETCH(QString, expected);
    const Statuses done = ImportValues::completed({member, church, prospect});
    QCOMPARE(QStringList({done.member, done.church, done.prospect}).join(u'|'), expected);
}

void TestImportValues::familyRoles_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("gender");
    QTest::addColumn<FamilyRole>("read");
    QTest::addColumn<QString>("relationship");
    QTest::newRow("head") << "Head of Household"
                          << "Male" << FamilyRole::Head << "Other Relative";
    QTest::newRow("primary contact") << "Primary Contact"
                                     << "" << FamilyRole::Head << "Other Relative";
    QTest::newRow("spouse") << "spouse"
                            << "Female" << FamilyRole::Spouse << "Spouse";
    QTest::newRow("son") << "Child"
                         << "Male" << FamilyRole::Child << "Son";
    QTest::newRow("daughter") << "CHILD"
                              << "Female" << FamilyRole::Child << "Daughter";
    QTest::newRow("child of no gender") << "Child"
                                        << "" << FamilyRole::Child << "Other Relative";
    QTest::newRow("adult") << "Adult"
                           << "Male" << FamilyRole::Adult << "Other Relative";
    QTest::newRow("unknown") << "Boarder"
                             << "Male" << FamilyRole::Unknown << "Other Relative";
}

void TestImportValues::familyRoles()
{
    QFETCH(QString, role);
    QFETCH(QString, gender);
    QFETCH(FamilyRole, read);
    QFETCH(QString, relationship);
    QCOMPARE(ImportValues::familyRole(role), read);
    QCOMPARE(ImportValues::relationshipFor(read, gender), relationship);
}

void TestImportValues::samePerson_data()
{
    QTest::addColumn<QStringList>("other"); // last, first, birth, email, phone, address
    QTest::addColumn<QString>("reason");    // empty: not the same person
    QTest::newRow("name and birth date, any capitals")
        << QStringList{"ABLE", " ann ", "1980-01-02", "", "", ""} << "same name and birth date";
    QTest::newRow("name and e-mail") << QStringList{"Able", "Ann", "", "ANN@x.org", "", ""} << "same name and e-mail";
    QTest::newRow("name and phone in other punctuation")
        << QStringList{"Able", "Ann", "", "", "615.555.1234", ""} << "same name and phone";
    QTest::newRow("name and address") << QStringList{"Able", "Ann", "", "", "", "1  elm st"} << "same name and address";
    QTest::newRow("name alone") << QStringList{"Able", "Ann", "", "", "", ""} << "";
    QTest::newRow("other first name") << QStringList{"Able", "Andy", "1980-01-02", "", "", ""} << "";
    QTest::newRow("other birth date") << QStringList{"Able", "Ann", "1981-01-02", "", "", ""} << "";
}

void TestImportValues::samePerson()
{
    QFETCH(QStringList, other);
    QFETCH(QString, reason);
    const DuplicateRule::Person ann{"Able", "Ann", "1980-01-02", "ann@x.org", "(615) 555-1234", "1 Elm St"};
    const DuplicateRule::Person them{other.at(0), other.at(1), other.at(2), other.at(3), other.at(4), other.at(5)};
    QCOMPARE(DuplicateRule::sameness(them, ann), reason);
    QCOMPARE(DuplicateRule::sameness(ann, them), reason);
}

QTEST_MAIN(TestImportValues)
#include "tst_importvalues.moc"
