#include "core/textformat.h"
#include "members/familygridmodel.h"
#include "members/responsibilitygridmodel.h"

#include <QAbstractItemModelTester>
#include <QTest>

// The family and responsibility grids of the member screen: their columns as shown.
class TestFamilyGrids : public QObject
{
    Q_OBJECT

private slots:
    void familyColumns_data();
    void familyColumns();
    void responsibilityColumns();
    void modelsPassTheModelTester();

private:
    static FamilyMember relative();
};

Q_DECLARE_METATYPE(FamilyMember)

FamilyMember TestFamilyGrids::relative()
{
    FamilyMember m;
    m.id = 42;
    m.firstName = "Wendy";
    m.lastName = "Hale";
    m.status = "Member";
    m.memberActiveStatus = "Active";
    m.prospectActiveStatus = "InActive";
    m.phone = "(555) 123-4567";
    m.gender = "Female";
    m.dateOfBirth = "1982-07-04";
    m.relationship = "Spouse";
    m.isRelativeOfShown = true;
    return m;
}

void TestFamilyGrids::familyColumns_data()
{
    QTest::addColumn<FamilyMember>("member");
    QTest::addColumn<QStringList>("cells");
    const QString dob = shortDate(QDate(1982, 7, 4));
    FamilyMember head = relative();
    head.isRelativeOfShown = false;
    FamilyMember bare = relative();
    bare.dateOfBirth.clear();
    bare.phone.clear();
    bare.title = "Dr.";
    QTest::newRow("relative shows the stored relationship")
        << relative() << QStringList{"42",       "Hale, Wendy  ",  "Spouse", "Member", "Active",
                                     "InActive", "(555) 123-4567", "Female", dob};
    QTest::newRow("head of household") << head << QStringList{"42",     "Hale, Wendy  ", "Head of Household", "Member",
                                                              "Active", "InActive",      "(555) 123-4567",    "Female",
                                                              dob};
    QTest::newRow("no birth date, no phone, a title")
        << bare << QStringList{"42", "Hale, Wendy  Dr.", "Spouse", "Member", "Active", "InActive", "", "Female", ""};
}

void TestFamilyGrids::familyColumns()
{
    QFETCH(FamilyMember, member);
    QFETCH(QStringList, cells);
    FamilyGridModel model;
    model.setFamily({member});
    QCOMPARE(model.columnCount(), 9);
    QStringList shown;
    for (int c = 0; c < model.columnCount(); ++c) {
        shown << model.index(0, c).data().toString();
    }
    QCOMPARE(shown, cells);
    QCOMPARE(model.headerData(FamilyGridModel::RelationshipColumn, Qt::Horizontal).toString(), QString("Relationship"));
    QCOMPARE(model.headerData(FamilyGridModel::DobColumn, Qt::Horizontal).toString(), QString("DOB"));
}

void TestFamilyGrids::responsibilityColumns()
{
    ResponsibilityGridModel model;
    model.setResponsibilities({{"Deacon", QDate(2025, 1, 1), QDate(2025, 12, 31), "Serves as a deacon"}});
    QCOMPARE(model.columnCount(), 4);
    QStringList headers;
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c) {
        headers << model.headerData(c, Qt::Horizontal).toString();
        cells << model.index(0, c).data().toString();
    }
    QCOMPARE(headers, QStringList({"Name", "Start", "End", "Description"}));
    QCOMPARE(cells, QStringList({"Deacon", shortDate(QDate(2025, 1, 1)), shortDate(QDate(2025, 12, 31)),
                                 "Serves as a deacon"}));
    QCOMPARE(model.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::Alignment(Qt::AlignCenter));
}

void TestFamilyGrids::modelsPassTheModelTester()
{
    FamilyGridModel family;
    QAbstractItemModelTester familyTester(&family, QAbstractItemModelTester::FailureReportingMode::QtTest);
    family.setFamily({relative(), relative()});
    QCOMPARE(family.memberIds(), QList<qint64>({42, 42}));
    family.clear();
    QCOMPARE(family.rowCount(), 0);

    ResponsibilityGridModel held;
    QAbstractItemModelTester heldTester(&held, QAbstractItemModelTester::FailureReportingMode::QtTest);
    held.setResponsibilities({{"Usher", QDate(2025, 1, 1), QDate(2025, 2, 1), {}}});
    QCOMPARE(held.rowCount(), 1);
    held.clear();
    QCOMPARE(held.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestFamilyGrids)
#include "tst_familygrids.moc"
