#pragma once

#include <QDialog>

class QTableWidget;

// File > Restore…: the backups in the backup folder with when and why each was made, its size and rows, or
// one chosen from anywhere. Ok gives the chosen backup; the restore itself is BackupControl's.
class RestoreDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RestoreDialog)

public:
    explicit RestoreDialog(const QString& backupFolder, QWidget* parent = nullptr);

    // The backup folder (or a file in one) to restore; empty until one is chosen.
    QString chosenBackup() const { return m_chosen; }

private:
    void restoreSelected();
    void chooseOther();

    QTableWidget* m_list = nullptr;
    QString m_chosen;
};
