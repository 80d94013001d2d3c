#include "widgets/gridexport.h"

#include "csv/csvfile.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
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
    return index.data(Qt::DisplayRole).toString();
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
    QString path = FileDialogs::getSaveFileName(grid, Text::tr("Export"), Text::tr("CSV files (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".csv");
    }
    if (!CsvFile::writeFile(path, shownRows(grid))) {
        showMessage(Text::tr("The file %1 could not be written.").arg(path), MessageStyle::Warning, Text::tr("Export"));
    }
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
