#pragma once

#include <QWidget>

struct AppConfig;
class QGridLayout;

// Help > Where is my data?: the database file, the picture folder, the backup folder, the configuration
// file and the program's own settings, each with a button that opens its folder in the desktop's file
// manager.
class DataLocationsScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataLocationsScreen)

public:
    // configPath and backupFolder may be empty where they are not known; their rows then say so.
    DataLocationsScreen(const AppConfig& config, const QString& configPath, const QString& backupFolder,
                        QWidget* parent = nullptr);

private:
    // A row: the caption, the path shown, and the folder its button opens.
    void addRow(const QString& stem, const QString& caption, const QString& button, const QString& path,
                const QString& folder);
    void openFolder(const QString& folder);

    QGridLayout* m_grid = nullptr;
};
