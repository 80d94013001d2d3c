#include "core/textformat.h"
#include "data/databaseerror.h"
#include "navigators/membergridmodel.h"

#include <QAbstractItemModelTester>
#include <QSet>
#include <QSignalSpy>
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
    void readsPagesAsTheViewAsksWhileTheCountIsWhole();
    void peopleGoneSinceTheSearchAreLeftOut();
    void failedReadStopsReadingAndSaysWhy();

private:
    // Rows for IDs 1..count; each read is noted, IDs in `gone` have no row, and a read with `failAt` throws.
    MemberGridModel::RowReader reader(QList<QList<qint64>>* reads, QSet<qint64> gone = {}, qint64 failAt = 0);
    static QList<qint64> range(qint64 first, qint64 last);
    static MemberListRow::Fields smithFields();
    static MemberListRow smith() { return MemberListRow(12, smithFields()); }
};

MemberGridModel::RowReader TestMemberGridModel::reader(QList<QList<qint64>>* reads, QSet<qint64> gone, qint64 failAt)
{
    return [reads, gone, failAt](const QList<qint64>& ids) {
        reads->push_back(ids);
        std::vector<MemberListRow> rows;
        for (const qint64 id : ids) {
            if (id == failAt) {
                throw DatabaseError(QStringLiteral("disk I/O error"));
            }
            if (!gone.contains(id)) {
                MemberListRow::Fields fields = smithFields();
                fields[MemberListRow::FirstName] = QString::number(id);
                rows.emplace_back(id, fields);
            }
        }
        return rows;
    };
}

QList<qint64> TestMemberGridModel::range(qint64 first, qint64 last)
{
    QList<qint64> ids;
    for (qint64 id = first; id <= last; ++id) {
        ids << id;
    }
    return ids;
}

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
    QTest::newRow("address without second line leaves out its separator")
        << plain << int(MemberGridModel::AddressColumn) << "1 Main St, Springfield, IL 62701";
    QTest::newRow("full address") << full << int(MemberGridModel::AddressColumn)
                                  << "1 Main St, Apt 4, Springfield, IL 62701";
    MemberListRow::Fields streetAndCity;
    streetAndCity[MemberListRow::Address1] = "7671 Union Boulevard";
    streetAndCity[MemberListRow::City] = "Walnut Hill";
    QTest::newRow("address without state and zip")
        << MemberListRow(3, streetAndCity) << int(MemberGridModel::AddressColumn)
        << "7671 Union Boulevard, Walnut Hill";
    MemberListRow::Fields zipOnly;
    zipOnly[MemberListRow::Address2] = "  ";
    zipOnly[MemberListRow::Zip] = "62701";
    QTest::newRow("address of blanks and a zip")
        << MemberListRow(4, zipOnly) << int(MemberGridModel::AddressColumn) << "62701";
    QTest::newRow("address all empty") << empty << int(MemberGridModel::AddressColumn) << "";
    QTest::newRow("phone digits through the pattern") << plain << int(MemberGridModel::PhoneColumn) << "(555) 123-4567";
    QTest::newRow("cell already in the pattern") << plain << int(MemberGridModel::CellColumn) << "(555) 987-6543";
    QTest::newRow("empty work phone is an empty cell") << plain << int(MemberGridModel::WorkColumn) << "";
    QTest::newRow("birth date in short form")
        << plain << int(MemberGridModel::DobColumn) << shortDate(QDate(1980, 3, 14));
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
    // The tester would fetch from inside its own handler of the reset, before it counts the reset as over; the
    // pages below are fetched by the test instead, with the tester watching every insertion.
    tester.setUseFetchMore(false);
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

    // Read page by page, under the same watch.
    QList<QList<qint64>> reads;
    model.setResult(range(1, 450), reader(&reads));
    while (model.canFetchMore()) {
        model.fetchMore();
    }
    QCOMPARE(model.rowCount(), 450);
    model.setResult(range(1, 30), reader(&reads, {7, 8}));
    QCOMPARE(model.rowCount(), 28);
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestMemberGridModel::readsPagesAsTheViewAsksWhileTheCountIsWhole()
{
    MemberGridModel model;
    QList<QList<qint64>> reads;
    QVERIFY(!model.canFetchMore());
    model.setResult(range(1, 450), reader(&reads));
    QCOMPARE(model.columnCount(), int(MemberGridModel::ColumnCount));
    // The first page is read at once; the count and the IDs handed on are whole from the start.
    QCOMPARE(reads, QList<QList<qint64>>({range(1, 200)}));
    QCOMPARE(model.rowCount(), 200);
    QCOMPARE(model.matchCount(), 450);
    QCOMPARE(model.memberIds(), range(1, 450));
    QCOMPARE(model.memberId(199), 200);
    QCOMPARE(model.memberId(200), 0);
    QCOMPARE(model.longestRow(MemberGridModel::NameColumn), 99); // the first three-digit first name
    QVERIFY(model.canFetchMore());

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.fetchMore();
    QCOMPARE(reads.last(), range(201, 400));
    QCOMPARE(model.rowCount(), 400);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.first().at(1).toInt(), 200);
    QCOMPARE(inserted.first().at(2).toInt(), 399);
    model.fetchMore();
    QCOMPARE(reads.last(), range(401, 450));
    QCOMPARE(model.rowCount(), 450);
    QVERIFY(!model.canFetchMore());
    model.fetchMore();
    QCOMPARE(reads.size(), 3);
    QCOMPARE(model.index(449, MemberGridModel::IdColumn).data().toString(), "450");
    QCOMPARE(model.memberIds(), range(1, 450));

    // A search that finds nobody shows the header and no rows.
    model.setResult({}, reader(&reads));
    QCOMPARE(model.columnCount(), int(MemberGridModel::ColumnCount));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.matchCount(), 0);
    QVERIFY(!model.canFetchMore());
}

void TestMemberGridModel::peopleGoneSinceTheSearchAreLeftOut()
{
    MemberGridModel model;
    QList<QList<qint64>> reads;
    // 3 goes from the first page, the whole third page (401..450) and 460 from the last.
    QSet<qint64> gone{3, 460};
    for (qint64 id = 401; id <= 450; ++id) {
        gone.insert(id);
    }
    model.setResult(range(1, 500), reader(&reads, gone));
    QCOMPARE(model.rowCount(), 199);
    QCOMPARE(model.memberId(2), 4);
    QCOMPARE(model.matchCount(), 499);
    while (model.canFetchMore()) {
        model.fetchMore();
    }
    QList<qint64> expected = range(1, 500);
    for (const qint64 id : gone) {
        expected.removeOne(id);
    }
    QCOMPARE(model.memberIds(), expected);
    QCOMPARE(model.rowCount(), int(expected.size()));
    QCOMPARE(model.memberId(model.rowCount() - 1), 500);
}

void TestMemberGridModel::failedReadStopsReadingAndSaysWhy()
{
    MemberGridModel model;
    QList<QList<qint64>> reads;
    model.setRows({smith()});
    // A failed first page leaves the grid as it was, and the caller hears of it.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, model.setResult(range(1, 300), reader(&reads, {}, 5)));
    QCOMPARE(model.memberIds(), QList<qint64>({12}));

    QSignalSpy failed(&model, &MemberGridModel::fetchFailed);
    model.setResult(range(1, 300), reader(&reads, {}, 250));
    QCOMPARE(model.rowCount(), 200);
    model.fetchMore();
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), "disk I/O error");
    QCOMPARE(model.rowCount(), 200);
    QVERIFY(!model.canFetchMore());
    // Every person found is still handed on.
    QCOMPARE(model.matchCount(), 300);
}

QTEST_GUILESS_MAIN(TestMemberGridModel)
#include "tst_membergridmodel.moc"
