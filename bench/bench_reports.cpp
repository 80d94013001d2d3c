#include "benchutil.h"

#include "data/database.h"
#include "reports/memberreports.h"
#include "reports/reportpainter.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

// The member list, the birthday list and the mailing labels of a large roll, each built and written as a
// PDF file: time per report, pages and file size. "bench_reports [people] [folder]": 25,000 people unless
// another number is given; the PDF files are kept in the folder when one is named, to be looked at.
int main(int argc, char* argv[])
{
    Bench::preferOffscreen();
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = Bench::peopleArgument(argc, argv);
    const QString roll = Bench::cachedDemoRoll(Bench::rollOptions(people));
    auto db = Database::open(roll);

    QList<qint64> ids;
    // Everybody but the placeholder person (ID 1) that every database has.
    for (const Row& row : db->select(QStringLiteral("SELECT ID FROM Member WHERE ID <> ? ORDER BY ID"), {1})) {
        ids << row.integer(u"ID");
    }
    out << QStringLiteral("roll of %1 people: %2 on the report list\n").arg(people).arg(ids.size()) << Qt::flush;

    MemberReports reports(*db, {QStringLiteral("Demo Church"), QDate(2026, 3, 15)});
    QTemporaryDir temporary;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    struct Case
    {
        QString name;
        ReportDocument (MemberReports::*build)(const QList<qint64>&);
    };
    const QList<Case> cases = {
        {QStringLiteral("member list"), &MemberReports::printMemberList},
        {QStringLiteral("birthdays and anniversaries"), &MemberReports::printMemberListDOBAnniv},
        {QStringLiteral("mailing labels"), &MemberReports::printMailingLabels},
    };
    for (const Case& c : cases) {
        const QString file = QDir(folder).filePath(c.name + QStringLiteral(".pdf"));
        int pages = 0;
        Bench::report(Bench::measure(c.name + QStringLiteral(", query and layout"), 3,
                                     [&] { pages = (reports.*(c.build))(ids).pageCount(); }));
        Bench::report(Bench::measure(c.name + QStringLiteral(", query, layout and PDF"), 3, [&] {
            const ReportDocument document = (reports.*(c.build))(ids);
            ReportPainter::writePdf(document, file);
        }));
        out << QStringLiteral("%1: %2 pages, PDF %3 MB\n")
                   .arg(c.name)
                   .arg(pages)
                   .arg(QFileInfo(file).size() / 1048576.0, 0, 'f', 1)
            << Qt::flush;
    }
    return 0;
}
