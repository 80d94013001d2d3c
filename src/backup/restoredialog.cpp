#include "backup/restoredialog.h"

#include "backup/backupcatalog.h"
#include "backup/backupwriter.h"
#include "core/textformat.h"
#include "widgets/filedialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

RestoreDialog::RestoreDialog(const QString& backupFolder, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(tr("Restore"));
    const QList<BackupEntry> backups = BackupCatalog::list(backupFolder);
    m_list = new QTableWidget(int(backups.size()), 5, this);
    m_list->setObjectName(QStringLiteral("lstBackups"));
    m_list->setHorizontalHeaderLabels({tr("Made"), tr("Why"), tr("Size"), tr("People"), tr("Rows")});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    const QLocale locale;
    for (int row = 0; row < backups.size(); ++row) {
        const BackupEntry& backup = backups[row];
        const auto cell = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setData(Qt::UserRole, backup.folder);
            m_list->setItem(row, column, item);
        };
        cell(0, shortDateTime(backup.created));
        if (!backup.isValid()) {
            // Listed so that nobody wonders where it went, but it cannot be restored.
            cell(1, backup.problem);
            m_list->item(row, 0)->setFlags(Qt::NoItemFlags);
            m_list->item(row, 1)->setFlags(Qt::NoItemFlags);
            continue;
        }
        cell(1, backupReasonText(backup.manifest->reason));
        cell(2, formatDataSize(backup.manifest->totalBytes()));
        cell(3, locale.toString(backup.manifest->rowsOf(QStringLiteral("Member")).value_or(0)));
        cell(4, locale.toString(backup.manifest->totalRows()));
    }
    m_list->resizeColumnsToContents();
    m_list->horizontalHeader()->setStretchLastSection(true);
    if (m_list->rowCount() > 0 && backups.front().isValid()) {
        m_list->selectRow(0);
    }

    auto* where = new QLabel(tr("Backups in %1").arg(QDir::toNativeSeparators(backupFolder)), this);
    where->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    auto* restore = buttons->addButton(tr("&Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("btnRestore"));
    auto* other = buttons->addButton(tr("&Other Backup…"), QDialogButtonBox::ActionRole);
    other->setObjectName(QStringLiteral("btnOther"));
    buttons->addButton(QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(620, 360);

    connect(restore, &QPushButton::clicked, this, &RestoreDialog::restoreSelected);
    connect(other, &QPushButton::clicked, this, &RestoreDialog::chooseOther);
    connect(buttons, &QDialogButtonBox::rejected, this, &RestoreDialog::reject);
    connect(m_list, &QTableWidget::itemDoubleClicked, this, &RestoreDialog::restoreSelected);
}

void RestoreDialog::restoreSelected()
{
    const QList<QTableWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    m_chosen = selected.front()->data(Qt::UserRole).toString();
    accept();
}

void RestoreDialog::chooseOther()
{
    const QString file =
        FileDialogs::getOpenFileName(this, tr("Open Backup"), tr("Kelvane backups (backup.json kelvane.db)"));
    if (!file.isEmpty()) {
        m_chosen = file;
        accept();
    }
}
