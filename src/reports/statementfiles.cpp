#include "reports/statementfiles.h"

#include "core/money.h"
#include "csv/csvfile.h"
#include "reports/contributionreports.h"
#include "reports/reporterror.h"
#include "reports/reportpainter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

QString StatementFiles::periodLabel(const QDate& start, const QDate& end)
{
    if (start == QDate(start.year(), 1, 1) && end == QDate(start.year(), 12, 31)) {
        return QString::number(start.year());
    }
    return tr("%1 to %2").arg(start.toString(Qt::ISODate), end.toString(Qt::ISODate));
}

QString StatementFiles::safeFileName(const QString& text)
{
    QString safe;
    for (const QChar c : text) {
        if (c == u'/' || c == u'\\' || c == u'|') {
            safe += u'-';
        } else if (c == u'"') {
            safe += u'\'';
        } else if (c == u':') {
            safe += u'.';
        } else if (c == u'*' || c == u'?' || c == u'<' || c == u'>' || c.category() == QChar::Other_Control) {
            safe += u'_';
        } else {
            safe += c;
        }
    }
    safe = safe.simplified();
    // No hidden file, and no name Windows trims.
    while (safe.startsWith(u'.')) {
        safe.remove(0, 1);
    }
    while (safe.endsWith(u'.') || safe.endsWith(u' ')) {
        safe.chop(1);
    }
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

QStringList StatementFiles::fileNames(const std::vector<Statement>& statements, const QDate& start, const QDate& end)
{
    const QString period = periodLabel(start, end);
    QHash<QString, int> used;
    QStringList names;
    for (const Statement& statement : statements) {
        const QString stem = safeFileName(statement.sortName + QStringLiteral(" - ") + period);
        const int seen = ++used[stem.toLower()];
        names << (seen == 1 ? stem : stem + QStringLiteral(" (%1)").arg(seen)) + QStringLiteral(".pdf");
    }
    return names;
}

StatementFileRun StatementFiles::write(ContributionReports& reports, const std::vector<Statement>& statements,
                                       const QDate& start, const QDate& end, const QString& folder)
{
    const QString path = QDir(folder).absolutePath();
    if (!QDir().mkpath(path) || !QFileInfo(path).isWritable()) {
        throw ReportError(tr("The statements cannot be written into the folder %1: it cannot be written to.")
                              .arg(QDir::toNativeSeparators(path)));
    }
    const QStringList names = fileNames(statements, start, end);
    StatementFileRun run;
    QList<QStringList> index{{tr("Name"), tr("E-mail"), tr("File"), tr("Total")}};
    for (std::size_t i = 0; i < statements.size(); ++i) {
        const Statement& statement = statements[i];
        if (statement.netCents() <= 0) {
            run.skipped << statement.name;
            continue;
        }
        const QString file = names.at(qsizetype(i));
        try {
            ReportPainter::writePdf(reports.printStatement(statement, start, end), QDir(path).filePath(file));
        } catch (const ReportError& error) {
            throw ReportError(tr("The statements cannot be written into the folder %1 (%n written): %2", nullptr,
                                 int(run.written.size()))
                                  .arg(QDir::toNativeSeparators(path), error.message()));
        }
        run.written.push_back({statement.name, statement.email, file, statement.deductibleCents()});
        if (!statement.hasAddress()) {
            run.noAddress << statement.name;
        }
        index << QStringList{statement.name, statement.email, file, formatAmount(statement.deductibleCents())};
    }
    QSaveFile csv(QDir(path).filePath(QStringLiteral("index.csv")));
    const QByteArray bytes = CsvFile::write(index);
    if (!csv.open(QIODevice::WriteOnly) || csv.write(bytes) != bytes.size() || !csv.commit()) {
        throw ReportError(tr("The statements cannot be written into the folder %1: index.csv: %2")
                              .arg(QDir::toNativeSeparators(path), csv.errorString()));
    }
    return run;
}
