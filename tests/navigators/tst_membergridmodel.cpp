#include "navigators/membergridmodel.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(MemberListRow)

class TestMemberGridModel : public QObject
{
    Q_OBJECT

private slots:
    void composedColumns_data();
    void composedColumns();
    void headerAppearsWithTheFirstSearchAndGoesWithClear();
    void passesTheModelTester();

private:
    static MemberListRow::Fields smithFields();
    static MemberListRow smith() { return MemberListRow(12, smithFields()); }
};

MemberListRow::Fields TestMemberGridModel::smithFields()
{
    using F = MemberListRow;
    MemberListRow::Fields f;
    f[F::FirstName] = "John";
    f[F::LastName] = "Smith";
    f[F::Status] = "Member";
    f[F::Phone] = "5551234567";
    f[F::Cell] = "(555) 987-6543";
    f[F::Email] = "john@example.org";
    f[F::Address1] = "1 Main St";
    f[F::City] = "Springfield";
    f[F::State] = "IL";
    f[F::Zip] = "62701";
    f[F::DateOfBirth] = "1980-03-14";
    f[F::MemberActiveStatus] = "Active";
    f[F::ProspectActiveStatus] = "InActive";
    return f;
}

void TestMemberGridModel::composedColumns_data()
{
    QTest::addColumn<MemberListRow>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    const MemberListRow plain = smith();
    MemberListRow::Fields fullFields = smithFields();
    fullFields[MemberListRow::MiddleName] = "Quincy";
    fullFields[MemberListRow::Title] = "Jr.";
    fullFields[MemberListRow::Address2] = "Apt 4";
    const MemberListRow full(12, fullFields);
    const MemberListRow empty(7, {});

    QTest::newRow("ID") << plain << int(MemberGridModel::IdColumn) << "12";
    QTest::newRow("name without middle name and title keeps both blanks")
        << plain << int(MemberGridModel::NameColumn) << "Smith, John  ";
    QTest::newRow("full name") << full << int(MemberGridModel::NameColumn) << "Smith, John Quincy Jr.";
    QTest::newRow("name all empty") << empty << int(MemberGridModel::NameColumn) << ",   ";
    QTest::newRow("address without second line keeps its separator")
        << plain << int(MemberGridModel::AddressColumn) << "1 Main St, , Springfield, IL 62701";
    QTest::newRow("full address") << full << int(MemberGridModel::AddressColumn)
                                  << "1 Main St, Apt 4, Springfield, IL 62701";
    QTest::newRow("address all empty") << empty << int(MemberGridModel::AddressColumn) << ", , ,  ";
    QTest::newRow("phone digits through the pattern") << plain << int(MemberGridModel::PhoneColumn) << "(555) 123-4567";
    QTest::newRow("cell already in the pattern") << plain << int(MemberGridModel::CellColumn) << "(555) 987-6543";
    QTest::newRow("empty work phone is an empty cell") << plain << int(MemberGridModel::WorkColumn) << "";
    QTest::newRow("birth date in short form")
        << plain << int(MemberGridModel::DobColumn) << QLocale().toString(QDate(1980, 3, 14), QLocale::ShortFormat);
    QTest::newRow("no anniversary") << plain << int(MemberGridModel::AnnivColumn) << "";
    QTest::newRow("Status shows Status") << plain << int(MemberGridModel::StatusColumn) << "Member";
    QTest::newRow("Member Status shows the church status")
        << plain << int(MemberGridModel::MemberStatusColumn) << "Active";
    QTest::newRow("Prospect Status") << plain << int(MemberGridModel::ProspectStatusColumn) << "InActive";
    QTest::newRow("Email") << plain << int(MemberGridModel::EmailColumn) << "john@example.org";
}

void TestMemberGridModel::composedColumns()
{
    QFETCH(MemberListRow, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    MemberGridModel model;
    model.setRows({row});
    const QModelIndex index = model.index(0, column);
    QCOMPARE(model.data(index).toString(), text);
    QCOMPARE(model.data(index, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::Alignment(Qt::AlignCenter));
}

void TestMemberGridModel::headerAppearsWithTheFirstSearchAndGoesWithClear()
{
    MemberGridModel model;
    QCOMPARE(model.columnCount(), 0);
    QCOMPARE(model.rowCount(), 0);

    model.setRows({});
    QCOMPARE(model.columnCount(), 12);
    QCOMPARE(model.rowCount(), 0);
    const QStringList expected{"ID",    "Name",    "Status", "Phone", "Cell",          "Work",
                               "Email", "Address", "DOB",    "Anniv", "Member Status", "Prospect Status"};
    QStringList headers;
    for (int c = 0; c < model.columnCount(); ++c) {
        headers << model.headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, expected);

    model.setRows({smith(), MemberListRow(15, smithFields())});
    QCOMPARE(model.memberIds(), QList<qint64>({12, 15}));
    QCOMPARE(model.memberId(1), 15);

    model.clear();
    QCOMPARE(model.columnCount(), 0);
    QVERIFY(model.memberIds().isEmpty());
}

void TestMemberGridModel::passesTheModelTester()
{
    MemberGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    std::vector<MemberListRow> rows;
    for (int i = 0; i < 50; ++i) {
        MemberListRow::Fields fields = smithFields();
        fields[MemberListRow::FirstName] = QString::number(i);
        rows.emplace_back(i + 2, fields);
    }
    model.setRows(rows);
    QCOMPARE(model.rowCount(), 50);
    // The first of the two-digit first names makes the longest name.
    QCOMPARE(model.longestRow(MemberGridModel::NameColumn), 10);
    model.clear();
    model.setRows({smith()});
    QCOMPARE(model.rowCount(), 1);
}

QTEST_GUILESS_MAIN(TestMemberGridModel)
#include "tst_membergridmodel.moc"
