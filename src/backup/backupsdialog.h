#pragma once

#include <QDialog>

class QLineEdit;

// File > Backups…: the folder backups go to (kept in backup.ini beside config.txt) and what is kept there.
class BackupsDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackupsDialog)

public:
    // settingsPath: backup.ini; databasePath: the live database, beside which backups/ is the default.
    BackupsDialog(QString settingsPath, QString databasePath, QWidget* parent = nullptr);

    void accept() override;

private:
    void chooseFolder();

    QString m_settingsPath;
    QString m_databasePath;
    QLineEdit* m_folder = nullptr;
};
