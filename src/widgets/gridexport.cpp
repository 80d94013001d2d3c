#include "widgets/gridexport.h"

#include "csv/csvfile.h"
#include "widgets/busycursor.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "xlsx/xlsxfile.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTableView>

namespace GridExport {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(GridExport)
};

QString cellText(const QModelIndex& index)
{
    const QVariant check = index.data(Qt::CheckStateRole);
    if (check.isValid() && index.data(Qt::DisplayRole).toString().isEmpty()) {
        return check.toInt() == Qt::Checked ? Text::tr("Yes") : QString();
    }
    // Blanks that end a cell (a name built without a middle name or title) are invisible in the grid but would
    // travel into every mail merge.
    QString text = index.data(Qt::DisplayRole).toString();
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) {
        --end;
    }
    text.truncate(end);
    return text;
}

// The export's suggested name: the title of the screen that holds the grid ("Prospect Navigator.csv").
QString suggestedName(const QWidget* grid)
{
    for (const QWidget* w = grid; w != nullptr; w = w->parentWidget()) {
        const QString title = w->windowTitle().trimmed();
        if (!title.isEmpty()) {
            QString name;
            for (const QChar c : title) {
                name += QStringLiteral("\\/:*?\"<>|").contains(c) ? QChar(u'-') : c;
            }
            return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + u'/' + name +
                   QStringLiteral(".csv");
        }
    }
    return {};
}

// A model that reads its rows as the view scrolls to them (the navigators' results) is read to its end, so that
// the file holds the whole result and not just the rows scrolled to so far.
void readCompletely(QAbstractItemModel& model)
{
    while (model.canFetchMore({})) {
        const int before = model.rowCount();
        model.fetchMore({});
        if (model.rowCount() == before) {
            break; // it had nothing more after all
        }
    }
}

} // namespace

QList<QStringList> shownRows(const QTableView* grid)
{
    const QAbstractItemModel* model = grid->model();
    if (model == nullptr) {
        return {};
    }
    const QHeaderView* header = grid->horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!grid->isColumnHidden(logical)) {
            columns << logical;
        }
    }
    QList<QStringList> rows;
    QStringList headings;
    for (const int column : std::as_const(columns)) {
        headings << model->headerData(column, Qt::Horizontal).toString().replace(u'\n', u' ');
    }
    rows << headings;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (grid->isRowHidden(row)) {
            continue;
        }
        QStringList cells;
        for (const int column : std::as_const(columns)) {
            cells << cellText(model->index(row, column));
        }
        rows << cells;
    }
    return rows;
}

void exportGrid(QTableView* grid)
{
    if (grid->model() == nullptr || grid->model()->columnCount() == 0) {
        return;
    }
    const QString csvFilter = Text::tr("CSV (*.csv)");
    const QString workbookFilter = Text::tr("Excel workbook (*.xlsx)");
    QString chosenFilter;
    QString path =
        FileDialogs::getSaveFileName(grid, Text::tr("Export"), csvFilter + QStringLiteral(";;") + workbookFilter,
                                     suggestedName(grid), &chosenFilter);
    if (path.isEmpty()) {
        return;
    }
    // A typed ".csv" or ".xlsx" decides the format; any other name gets the chosen filter's ending.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool workbook = suffix == u"xlsx" || (suffix != u"csv" && chosenFilter == workbookFilter);
    if (suffix != u"csv" && suffix != u"xlsx") {
        path += workbook ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    }
    qsizetype written = 0;
    const QString problem = [&] {
        const BusyCursor busy;
        readCompletely(*grid->model());
        const QList<QStringList> rows = shownRows(grid);
        written = rows.size() - 1; // below the headings
        if (workbook) {
            return XlsxFile::writeFile(path, rows);
        }
        return CsvFile::writeFile(path, rows) ? QString() : Text::tr("The file %1 could not be written.").arg(path);
    }();
    if (!problem.isEmpty()) {
        showMessage(problem, MessageStyle::Warning, Text::tr("Export"));
        return;
    }
    showStatus(grid, Text::tr("Wrote %n rows to %1", nullptr, int(written)).arg(QDir::toNativeSeparators(path)));
}

void attach(QTableView* grid)
{
    auto* action = new QAction(Text::tr("Export…"), grid);
    action->setObjectName(QStringLiteral("actExport"));
    QObject::connect(action, &QAction::triggered, grid, [grid] { exportGrid(grid); });
    grid->addAction(action);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace GridExport
