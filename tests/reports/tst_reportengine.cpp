#include "reports/fieldformat.h"
#include "reports/reportdata.h"
#include "reports/reportdesign.h"
#include "reports/reporterror.h"
#include "reports/reportpainter.h"
#include "reports/reportrenderer.h"
#include "reports/textfitter.h"
#include "reports/texttemplate.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

Rows makeRows(const QStringList& columns, const QList<QVariantList>& values)
{
    auto index = std::make_shared<const ColumnIndex>(columns);
    Rows rows;
    for (const QVariantList& row : values) {
        rows.emplace_back(index, QVector<QVariant>(row.begin(), row.end()));
    }
    return rows;
}

ReportData dataWith(Rows rows)
{
    ReportData data;
    data.rows = std::move(rows);
    data.heading = {"Grace Chapel", QDate(2026, 3, 15)};
    return data;
}

// A small design: a page header, the given detail and extra top-level entries.
QByteArray design(const QByteArray& fields, const QByteArray& detail, const QByteArray& extra = {})
{
    return R"({"title": "Test Report",
               "page": {"size": "Letter", "margins": {"left": 36, "top": 36, "right": 36, "bottom": 36}},
               "fields": )" +
           fields + R"(,
               "pageHeader": {"height": 20, "items": [
                   {"type": "text", "x": 0, "y": 0, "width": 540, "height": 12,
                    "value": "{@church} {@title} {@printDate} Page {@page} of {@pages}"}]},
               "detail": )" +
           detail + extra + "}";
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void templates_data();
    void templates();
    void malformedDesignsNameTheDesignAndTheProblem_data();
    void malformedDesignsNameTheDesignAndTheProblem();
    void missingDesignIsNamed();
    void queryThatDoesNotFitTheDesignIsAnError();
    void fitterWrapsAndCuts_data();
    void fitterWrapsAndCuts();
    void growingTextPushesWhatIsBelow();
    void groupFootersShowCountsAndTotals();
    void groupsCanStartNewPages();
    void groupsCanNumberTheirPagesOnTheirOwn();
    void innerGroupStartsItsNewPageWhenTheOuterGroupChangesToo();
    void subreportRowsFollowTheirParentRow();
    void pdfHoldsTheReportsTexts();
    void printDateAndPageNumbersShowWholeUnderALongChurchName_data();
    void printDateAndPageNumbersShowWholeUnderALongChurchName();
    void unwritablePdfIsAnErrorNamingTheFile();
};

void TestReportEngine::formats_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("formatText");
    QTest::addColumn<QString>("expected");
    const int text = int(FieldKind::Text);
    const int date = int(FieldKind::Date);
    const int money = int(FieldKind::Money);
    const int boolean = int(FieldKind::Boolean);
    QTest::newRow("money zero") << QVariant(0) << money << ""
                                << "$0.00";
    QTest::newRow("money grouping") << QVariant(123456789) << money << ""
                                    << "$1,234,567.89";
    QTest::newRow("money cents") << QVariant(5) << money << ""
                                 << "$0.05";
    QTest::newRow("money negative") << QVariant(-123456) << money << ""
                                    << "-$1,234.56";
    QTest::newRow("money null") << QVariant() << money << ""
                                << "";
    QTest::newRow("money format on a number") << QVariant(250) << int(FieldKind::Integer) << "money"
                                              << "$2.50";
    QTest::newRow("date default") << QVariant("1970-03-05") << date << ""
                                  << "03/05/1970";
    QTest::newRow("date with time") << QVariant("2026-03-15 14:30:00") << date << ""
                                    << "03/15/2026";
    QTest::newRow("date pattern") << QVariant("1970-03-05") << date << "date:MMMM d, yyyy"
                                  << "March 5, 1970";
    QTest::newRow("date and time") << QVariant("2026-03-15 14:30:05") << date << "datetime"
                                   << "03/15/2026 2:30:05 PM";
    QTest::newRow("date and time pattern") << QVariant("2026-03-15 09:05:00") << date << "datetime:yyyy-MM-dd HH:mm"
                                           << "2026-03-15 09:05";
    QTest::newRow("date and time of a bare date") << QVariant("2026-03-15") << date << "datetime"
                                                  << "03/15/2026 12:00:00 AM";
    QTest::newRow("date and time empty") << QVariant() << date << "datetime"
                                         << "";
    QTest::newRow("date empty") << QVariant("") << date << ""
                                << "";
    QTest::newRow("date month") << QVariant("1970-12-05") << date << "month"
                                << "December";
    QTest::newRow("date month and day") << QVariant("1970-12-05") << date << "monthday"
                                        << "12-05";
    QTest::newRow("bool yes") << QVariant(1) << boolean << ""
                              << "Yes";
    QTest::newRow("bool no") << QVariant(0) << boolean << ""
                             << "No";
    QTest::newRow("bool null") << QVariant() << boolean << ""
                               << "No";
    QTest::newRow("bool own texts") << QVariant(1) << boolean << "bool:Head/"
                                    << "Head";
    QTest::newRow("bool own empty no") << QVariant(0) << boolean << "bool:Head/"
                                       << "";
    QTest::newRow("phone") << QVariant("5551234567") << text << "phone"
                           << "(555) 123-4567";
    QTest::newRow("phone empty") << QVariant() << text << "phone"
                                 << "";
    QTest::newRow("initial") << QVariant("o'brien") << text << "initial"
                             << "O";
    QTest::newRow("initial accented: its base letter") << QVariant(QString::fromUtf8("ölander")) << text << "initial"
                                                       << "O";
    QTest::newRow("initial without a decomposition") << QVariant(QString::fromUtf8("łukasiewicz")) << text << "initial"
                                                     << "L";
    QTest::newRow("initial of a non-Latin letter")
        << QVariant(QString::fromUtf8("ярослав")) << text << "initial" << QString::fromUtf8("Я");
    QTest::newRow("initial not a letter") << QVariant("'t Hooft") << text << "initial"
                                          << "#";
    QTest::newRow("title before the name") << QVariant("Rev.") << text << "titleprefix"
                                           << "Rev.";
    QTest::newRow("title after the name") << QVariant("Rev.") << text << "titlesuffix"
                                          << "";
    QTest::newRow("suffix title") << QVariant("Jr.") << text << "titlesuffix"
                                  << "Jr.";
    QTest::newRow("text as stored") << QVariant("O'Brien \"Pat\"") << text << ""
                                    << "O'Brien \"Pat\"";
}

void TestReportEngine::formats()
{
    QFETCH(QVariant, value);
    QFETCH(int, kind);
    QFETCH(QString, formatText);
    QFETCH(QString, expected);
    const auto format =
        formatText.isEmpty() ? std::optional<ValueFormat>(ValueFormat{}) : FieldFormat::parse(formatText);
    QVERIFY(format.has_value());
    QCOMPARE(FieldFormat::format(value, FieldKind(kind), *format), expected);
}

void TestReportEngine::templates_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("expected");
    const QVariantList full{"Springfield", "IL", "62701", 1250};
    QTest::newRow("all present") << "{City}[, {State}][ {Zip}]" << full << "Springfield, IL 62701";
    QTest::newRow("optional left out") << "{City}[, {State}][ {Zip}]" << QVariantList{"Springfield", "", "62701", 0}
                                       << "Springfield 62701";
    QTest::newRow("field names ignore case") << "{city}/{ZIP}" << full << "Springfield/62701";
    QTest::newRow("escaped braces") << "\\{City\\} \\[x\\]" << full << "{City} [x]";
    QTest::newRow("format in template") << "Gift {Amount|money}" << full << "Gift $12.50";
    QTest::newRow("named text") << "Period: {$Period}" << full << "Period: 01/01/2026 to 03/31/2026";
    QTest::newRow("missing named text") << "[Note: {$Nothing}]" << full << "";
    QTest::newRow("church and title") << "{@church} - {@title}" << full << "Grace Chapel - Giving";
    QTest::newRow("print date") << "{@printDate|date:MMMM d, yyyy}" << full << "March 15, 2026";
    QTest::newRow("page numbers") << "Page {@page} of {@pages}" << full << "Page 2 of 7";
}

void TestReportEngine::templates()
{
    QFETCH(QString, source);
    QFETCH(QVariantList, values);
    QFETCH(QString, expected);
    FieldScope scope;
    scope.add("City", FieldKind::Text);
    scope.add("State", FieldKind::Text);
    scope.add("Zip", FieldKind::Text);
    scope.add("Amount", FieldKind::Money);
    QString error;
    const auto parsed = TextTemplate::parse(source, scope, &error);
    QVERIFY2(parsed.has_value(), qPrintable(error));
    const Rows rows = makeRows({"City", "State", "Zip", "Amount"}, {values});
    const QHash<QString, QString> named{{"Period", "01/01/2026 to 03/31/2026"}};
    TemplateContext context;
    context.row = &rows.front();
    context.churchName = "Grace Chapel";
    context.title = "Giving";
    context.printDate = QDate(2026, 3, 15);
    context.namedTexts = &named;
    context.page = 2;
    context.pages = 7;
    QCOMPARE(parsed->evaluate(context), expected);
}

void TestReportEngine::malformedDesignsNameTheDesignAndTheProblem_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");
    const QByteArray fields = R"(["Name", "Born:date"])";
    const QByteArray okDetail =
        R"({"height": 12, "items": [{"type": "text", "x": 0, "y": 0, "width": 100, "height": 12, "value": "{Name}"}]})";
    QTest::newRow("not JSON") << QByteArray("{\"title\": \"x\",\n \"page\": oops}") << "on line 2";
    QTest::newRow("not an object") << QByteArray("[1, 2]") << "not a JSON object";
    QTest::newRow("no detail") << design(fields, "null") << "needs a detail band";
    QTest::newRow("no fields") << design("[]", okDetail) << "must declare its fields";
    QTest::newRow("unknown field") << design(fields,
                                             R"({"height": 12, "items": [{"type": "text", "x": 0, "y": 0, "width": 100,
                              "height": 12, "value": "{Nope}"}]})")
                                   << "the field 'Nope' is not one of the design's fields (at detail.items[0])";
    QTest::newRow("unknown format") << design(fields,
                                              R"({"height": 12, "items": [{"type": "text", "x": 0, "y": 0, "width": 100,
                              "height": 12, "value": "{Born|fancy}"}]})")
                                    << "unknown format 'fancy'";
    QTest::newRow("unclosed brace") << design(fields,
                                              R"({"height": 12, "items": [{"type": "text", "x": 0, "y": 0, "width": 100,
                              "height": 12, "value": "{Name"}]})")
                                    << "without its '}'";
    QTest::newRow("misspelt entry") << design(fields, R"({"heigth": 12, "items": []})")
                                    << "unknown entry \"heigth\" (at detail)";
    QTest::newRow("beyond the margin")
        << design(fields, R"({"height": 12, "items": [{"type": "text", "x": 500, "y": 0, "width": 100,
                              "height": 12, "value": "{Name}"}]})")
        << "beyond the right edge";
    QTest::newRow("below the band") << design(fields,
                                              R"({"height": 12, "items": [{"type": "box", "x": 0, "y": 6, "width": 100,
                              "height": 12}]})")
                                    << "below its band";
    QTest::newRow("overlapping texts") << design(fields, R"({"height": 24, "items": [
                              {"type": "box", "x": 0, "y": 0, "width": 540, "height": 24, "fill": "#eeeeee"},
                              {"type": "text", "x": 0, "y": 0, "width": 100, "height": 12, "value": "{Name}"},
                              {"type": "text", "x": 50, "y": 11, "width": 100, "height": 12, "value": "{Born}"}]})")
                                       << "the texts items[1] and items[2] overlap (at detail)";
    QTest::newRow("unknown item type") << design(fields,
                                                 R"({"height": 12, "items": [{"type": "circle", "x": 0, "y": 0}]})")
                                       << "unknown item type \"circle\"";
    QTest::newRow("unknown field kind") << design(R"(["Name:colour"])", okDetail) << "unknown field kind";
    QTest::newRow("labels off the page")
        << design(fields, okDetail,
                  R"(, "labels": {"columns": 3, "rows": 10, "left": 13.5, "top": 36, "width": 189, "height": 80,
                                  "pitchX": 198, "pitchY": 80})")
        << "the labels do not fit on the page";
    QTest::newRow("label sheet subreport with a link")
        << design(fields, okDetail,
                  R"(, "labels": {"columns": 3, "rows": 9, "left": 13.5, "top": 36, "width": 189, "height": 72,
                                  "pitchX": 198, "pitchY": 72},
                     "subreports": [{"name": "leftOut", "fields": ["Name"], "link": {"field": "Name", "subField": "Name"},
                                     "detail": {"height": 12, "items": []}}])")
        << "a label sheet's subreport follows the labels and has no link";
    QTest::newRow("band higher than the page") << design(fields, R"({"height": 900, "items": []})")
                                               << "a band is higher than the room between page header and footer";
}

void TestReportEngine::malformedDesignsNameTheDesignAndTheProblem()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    try {
        ReportDesign::fromJson("crptBroken", json);
        QFAIL("the design was accepted");
    } catch (const ReportError& error) {
        QVERIFY2(error.message().startsWith("The report design crptBroken cannot be used: "),
                 qPrintable(error.message()));
        QVERIFY2(error.message().contains(problem), qPrintable(error.message()));
    }
}

void TestReportEngine::missingDesignIsNamed()
{
    try {
        ReportDesign::load("crptNoSuchDesign");
        QFAIL("a missing design was loaded");
    } catch (const ReportError& error) {
        QCOMPARE(error.message(), QString("The report design crptNoSuchDesign was not found."));
    }
}

void TestReportEngine::queryThatDoesNotFitTheDesignIsAnError()
{
    const ReportDesign d = ReportDesign::fromJson(
        "crptTest", design(R"(["Name", "Born:date"])",
                           R"({"height": 12, "items": [{"type": "text", "x": 0, "y": 0, "width": 100,
                               "height": 12, "value": "{Name}"}]})"));
    try {
        ReportRenderer::render(d, dataWith(makeRows({"Name"}, {{"Pat"}})));
        QFAIL("rendered");
    } catch (const ReportError& error) {
        QCOMPARE(error.message(),
                 QString("The report crptTest cannot be built: its query gives 1 column but the design declares 2 "
                         "fields."));
    }
}

void TestReportEngine::fitterWrapsAndCuts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("cut");
    const QString words = "one two three four five six seven eight nine ten eleven twelve";
    QTest::newRow("short text") << "Pat" << 100.0 << 1 << false << 1 << false;
    QTest::newRow("wraps at blanks") << words << 100.0 << 20 << true << 4 << false;
    QTest::newRow("cut to the room") << words << 100.0 << 2 << true << 2 << true;
    QTest::newRow("one line without wrap") << words << 100.0 << 5 << false << 1 << true;
    QTest::newRow("line breaks kept") << "first\r\nsecond\nthird" << 100.0 << 5 << false << 3 << false;
    QTest::newRow("line breaks beyond the room") << "first\nsecond\nthird" << 100.0 << 2 << false << 2 << true;
    // -1: more than one line, however many the font needs.
    QTest::newRow("long word broken") << QString(60, 'W') << 100.0 << 20 << true << -1 << false;
    QTest::newRow("empty") << "" << 100.0 << 1 << true << 1 << false;
}

void TestReportEngine::fitterWrapsAndCuts()
{
    QFETCH(QString, text);
    QFETCH(double, width);
    QFETCH(int, maxLines);
    QFETCH(bool, wrap);
    QFETCH(int, lines);
    QFETCH(bool, cut);
    TextFitter fitter;
    const ReportFont font{"DejaVu Sans", 9, false, false};
    const double lineHeight = fitter.lineHeight(font);
    const TextFitter::Fit fit = fitter.fit(text, font, width, maxLines * lineHeight, wrap);
    if (lines < 0) {
        QVERIFY(fit.lines.size() > 1);
    } else {
        QCOMPARE(fit.lines.size(), lines);
    }
    QCOMPARE(fit.cut, cut);
    for (const QString& line : fit.lines) {
        QVERIFY2(fitter.width(line, font) <= width, qPrintable(line));
    }
    if (cut) {
        QVERIFY(fit.lines.last().endsWith(QChar(0x2026)));
    } else {
        // Nothing is lost: the lines hold every word of the text.
        QCOMPARE(fit.lines.join("").remove(' '), QString(text).remove(' ').remove('\r').remove('\n'));
    }
}

void TestReportEngine::growingTextPushesWhatIsBelow()
{
    const ReportDesign d = ReportDesign::fromJson("crptTest", design(R"(["Name", "Notes:memo"])",
                                                                     R"({"height": 40, "items": [
                    {"type": "text", "x": 0, "y": 0, "width": 100, "height": 12, "value": "{Notes}", "grow": true},
                    {"type": "text", "x": 0, "y": 14, "width": 100, "height": 12, "value": "{Name}"},
                    {"type": "text", "x": 200, "y": 14, "width": 100, "height": 12, "value": "beside"},
                    {"type": "line", "x": 0, "y": 38, "width": 300}]})"));
    const QString notes = QString("word ").repeated(60);
    const ReportDocument doc =
        ReportRenderer::render(d, dataWith(makeRows({"Name", "Notes"}, {{"Pat", notes}, {"Sam", "short"}})));
    const ReportPage& page = doc.pages[0];
    const PageItem* grown = page.findTexts("word word").front();
    const PageItem* pat = page.findTexts("Pat").front();
    const PageItem* beside = page.findTexts("beside").front();
    const PageItem* sam = page.findTexts("Sam").front();
    QVERIFY(grown->rect.height() > 12);
    QVERIFY(grown->text.split('\n').size() > 1);
    QVERIFY(pat->rect.top() >= grown->rect.bottom());
    // Items beside the growing one stay where they are.
    QCOMPARE(beside->rect.top() - grown->rect.top(), 14.0);
    // The next row starts below the pushed items and the band's own room below them.
    QVERIFY(sam->rect.top() >= pat->rect.bottom() + 12);
}

void TestReportEngine::groupFootersShowCountsAndTotals()
{
    const ReportDesign d = ReportDesign::fromJson("crptTest", design(R"(["Fund", "Name", "Amount:money"])",
                                                                     R"({"height": 12, "items": [
                                {"type": "text", "x": 0, "y": 0, "width": 200, "height": 12,
                                 "value": "{Name} {Amount}"}]})",
                                                                     R"(, "groups": [{"key": "{Fund}",
                                  "header": {"height": 12, "items": [{"type": "text", "x": 0, "y": 0,
                                             "width": 300, "height": 12, "value": "{Fund}: {@count} gifts"}]},
                                  "footer": {"height": 12, "items": [{"type": "text", "x": 0, "y": 0,
                                             "width": 300, "height": 12, "value": "Total {Fund}: {@sum:Amount}"}]}}],
                               "reportFooter": {"height": 12, "items": [{"type": "text", "x": 0, "y": 0,
                                             "width": 300, "height": 12, "value": "All: {@sum:Amount} in {@count}"}]})"));
    const ReportDocument doc = ReportRenderer::render(
        d, dataWith(makeRows({"Fund", "Name", "Amount"},
                             {{"Building", "Pat", 1000}, {"Building", "Sam", 250}, {"Missions", "Pat", 5}})));
    QCOMPARE(doc.pages[0].texts().mid(1),
             (QStringList{"Building: 2 gifts", "Pat $10.00", "Sam $2.50", "Total Building: $12.50", "Missions: 1 gifts",
                          "Pat $0.05", "Total Missions: $0.05", "All: $12.55 in 3"}));
}

void TestReportEngine::groupsCanStartNewPages()
{
    const ReportDesign d = ReportDesign::fromJson("crptTest", design(R"(["Class", "Name"])",
                                                                     R"({"height": 12, "items": [
                                {"type": "text", "x": 0, "y": 0, "width": 200, "height": 12, "value": "{Name}"}]})",
                                                                     R"(, "groups": [{"key": "{Class}", "newPage": true,
                                  "header": {"height": 12, "items": [{"type": "text", "x": 0, "y": 0,
                                             "width": 300, "height": 12, "value": "Class {Class}"}]}}])"));
    const ReportDocument doc = ReportRenderer::render(
        d, dataWith(makeRows({"Class", "Name"}, {{"A", "Pat"}, {"A", "Sam"}, {"B", "Wayne"}, {"C", "Åsa"}})));
    QCOMPARE(doc.pageCount(), 3);
    QCOMPARE(doc.pages[0].texts().mid(1), (QStringList{"Class A", "Pat", "Sam"}));
    QCOMPARE(doc.pages[1].texts().mid(1), (QStringList{"Class B", "Wayne"}));
    QCOMPARE(doc.pages[2].texts(), (QStringList{"Grace Chapel Test Report 03/15/2026 Page 3 of 3", "Class C", "Åsa"}));
}

void TestReportEngine::groupsCanNumberTheirPagesOnTheirOwn()
{
    // Rows are 20 points high; a page holds 35 of them, so A takes three pages, B one and C two.
    const ReportDesign d = ReportDesign::fromJson("crptTest", design(R"(["Person", "Name"])",
                                                                     R"({"height": 20, "items": [
                                {"type": "text", "x": 0, "y": 0, "width": 200, "height": 12, "value": "{Name}"}]})",
                                                                     R"(, "groups": [{"key": "{Person}",
                                  "restartPageNumbers": true,
                                  "header": {"height": 12, "items": [{"type": "text", "x": 0, "y": 0,
                                             "width": 300, "height": 12, "value": "Person {Person}"}]}}])"));
    QVERIFY(d.groups.front().newPage);
    QList<QVariantList> values;
    for (int i = 0; i < 80; ++i) {
        values << QVariantList{"A", QString("A%1").arg(i)};
    }
    values << QVariantList{"B", "B0"};
    for (int i = 0; i < 40; ++i) {
        values << QVariantList{"C", QString("C%1").arg(i)};
    }
    const ReportDocument doc = ReportRenderer::render(d, dataWith(makeRows({"Person", "Name"}, values)));
    QStringList numbers;
    QStringList firstRows;
    for (const ReportPage& page : doc.pages) {
        const QString header = page.texts().front();
        numbers << header.mid(header.indexOf("Page"));
        firstRows << page.texts().at(1);
    }
    QCOMPARE(numbers,
             (QStringList{"Page 1 of 3", "Page 2 of 3", "Page 3 of 3", "Page 1 of 1", "Page 1 of 2", "Page 2 of 2"}));
    // Every person starts on a page of his own.
    QCOMPARE(firstRows.at(0), "Person A");
    QCOMPARE(firstRows.at(3), "Person B");
    QCOMPARE(firstRows.at(4), "Person C");
}

void TestReportEngine::innerGroupStartsItsNewPageWhenTheOuterGroupChangesToo()
{
    const ReportDesign d = ReportDesign::fromJson("crptTest", design(R"(["Region", "Class", "Name"])",
                                                                     R"({"height": 12, "items": [
                                {"type": "text", "x": 0, "y": 0, "width": 200, "height": 12, "value": "{Name}"}]})",
                                                                     R"(, "groups": [
                                  {"key": "{Region}", "header": {"height": 12, "items": [{"type": "text",
                                   "x": 0, "y": 0, "width": 300, "height": 12, "value": "Region {Region}"}]}},
                                  {"key": "{Class}", "newPage": true}])"));
    const ReportDocument doc = ReportRenderer::render(
        d, dataWith(makeRows({"Region", "Class", "Name"}, {{"N", "A", "Pat"}, {"N", "B", "Sam"}, {"S", "C", "Åsa"}})));
    QCOMPARE(doc.pageCount(), 3);
    QCOMPARE(doc.pages[1].texts().mid(1), (QStringList{"Sam"}));
    QCOMPARE(doc.pages[2].texts().mid(1), (QStringList{"Region S", "Åsa"}));
}

void TestReportEngine::subreportRowsFollowTheirParentRow()
{
    const ReportDesign d = ReportDesign::fromJson(
        "crptTest", design(R"(["ID:int", "Name"])",
                           R"({"height": 12, "items": [
                                {"type": "text", "x": 0, "y": 0, "width": 200, "height": 12, "value": "{Name}"}]})",
                           R"(, "subreports": [{"name": "contacts", "fields": ["Prospect_ID:int", "Action"],
                                  "link": {"field": "ID", "subField": "Prospect_ID"},
                                  "header": {"height": 12, "items": [{"type": "text", "x": 20, "y": 0,
                                             "width": 300, "height": 12, "value": "Contacts"}]},
                                  "detail": {"height": 12, "items": [{"type": "text", "x": 20, "y": 0,
                                             "width": 300, "height": 12, "value": "- {Action}"}]}}])"));
    ReportData data = dataWith(makeRows({"ID", "Name"}, {{1, "Pat"}, {2, "Sam"}, {3, "Wayne"}}));
    data.subreportRows.insert(
        "contacts", makeRows({"Prospect_ID", "Action"}, {{3, "Visit"}, {1, "Phone Call"}, {3, "Letter"}, {1, "Card"}}));
    const ReportDocument doc = ReportRenderer::render(d, data);
    QCOMPARE(doc.pages[0].texts().mid(1), (QStringList{"Pat", "Contacts", "- Phone Call", "- Card", "Sam", "Wayne",
                                                       "Contacts", "- Visit", "- Letter"}));
}

void TestReportEngine::pdfHoldsTheReportsTexts()
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed; tools/install-deps.sh installs it");
    const ReportDesign d = ReportDesign::fromJson("crptTest", design(R"(["Name"])", R"({"height": 14, "items": [
                                {"type": "text", "x": 0, "y": 0, "width": 300, "height": 14, "value": "{Name}"}]})"));
    Rows rows;
    QList<QVariantList> names;
    for (int i = 0; i < 120; ++i) {
        names << QVariantList{QString::fromUtf8("Ölander-%1 O'Brien").arg(i)};
    }
    const ReportDocument doc = ReportRenderer::render(d, dataWith(makeRows({"Name"}, names)));
    QVERIFY(doc.pageCount() >= 2);
    QTemporaryDir dir;
    const QString file = dir.filePath("report.pdf");
    ReportPainter::writePdf(doc, file);
    QProcess process;
    process.start(pdftotext, {"-layout", file, "-"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(text.contains(QString::fromUtf8("Ölander-0 O'Brien")), qPrintable(text.left(500)));
    QVERIFY(text.contains(QString::fromUtf8("Ölander-119 O'Brien")));
    QVERIFY(text.contains(QString("Page %1 of %1").arg(doc.pageCount())));
    QCOMPARE(text.count('\f'), doc.pageCount());
}

void TestReportEngine::printDateAndPageNumbersShowWholeUnderALongChurchName_data()
{
    QTest::addColumn<QString>("name");
    for (const QFileInfo& file : QDir(":/designs").entryInfoList({"*.json"})) {
        QTest::newRow(qPrintable(file.baseName())) << file.baseName();
    }
}

void TestReportEngine::printDateAndPageNumbersShowWholeUnderALongChurchName()
{
    QFETCH(QString, name);
    const ReportDesign d = ReportDesign::load(name);
    auto columns = std::make_shared<const ColumnIndex>(d.fields.names().mid(0, d.declaredFieldCount));
    ReportData data;
    data.rows.emplace_back(columns, QVector<QVariant>(d.declaredFieldCount));
    data.heading = {"Greater Mount Zion Missionary Baptist Church, Ohio", QDate(2026, 12, 23)};
    const ReportDocument doc = ReportRenderer::render(d, data);
    QVERIFY(doc.pageCount() > 0);
    for (const QString& text : doc.pages.front().texts()) {
        if (text.contains("Printed") || text.contains("Page ")) {
            QVERIFY2(!text.contains(QChar(0x2026)), qPrintable(text));
        }
        if (text.contains("Printed")) {
            QVERIFY2(text.contains("2026"), qPrintable(text));
        }
    }
}

void TestReportEngine::unwritablePdfIsAnErrorNamingTheFile()
{
    ReportDocument doc;
    doc.pages.emplace_back();
    QTemporaryDir dir;
    const QString file = dir.filePath("no-such-folder/report.pdf");
    try {
        ReportPainter::writePdf(doc, file);
        QFAIL("written");
    } catch (const ReportError& error) {
        QVERIFY2(error.message().startsWith("The PDF file " + file + " cannot be written"),
                 qPrintable(error.message()));
    }
    QVERIFY(!QFile::exists(file));
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
