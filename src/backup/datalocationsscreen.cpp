#include "backup/datalocationsscreen.h"

#include "core/appconfig.h"
#include "core/fileutil.h"
#include "widgets/controls.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString folderOfFile(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

} // namespace

DataLocationsScreen::DataLocationsScreen(const AppConfig& config, const QString& configPath,
                                         const QString& backupFolder, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Where is my data?"));
    m_grid = new QGridLayout;
    m_grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);

    const QString pictures = config.pictureFolder.isEmpty() ? QString() : pictureFolderOf(config.pictureFolder);
    const QString settings = QSettings().fileName();
    addRow(QStringLiteral("Database"), tr("Database"), tr("Open &Database Folder"), config.databasePath,
           folderOfFile(config.databasePath));
    addRow(QStringLiteral("Pictures"), tr("Pictures"), tr("Open &Pictures Folder"), pictures, pictures);
    addRow(QStringLiteral("Backups"), tr("Backups"), tr("Open &Backups Folder"), backupFolder, backupFolder);
    addRow(QStringLiteral("Configuration"), tr("Configuration (config.txt, backup.ini)"),
           tr("Open &Configuration Folder"), configPath, folderOfFile(configPath));
    addRow(QStringLiteral("Settings"), tr("Window settings"), tr("Open &Settings Folder"), settings,
           folderOfFile(settings));

    auto* note = Controls::label(this, tr("Keep the database, the pictures and the backups when the computer is "
                                          "replaced: a backup holds the database and its pictures together."));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch(1);
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    layout->addLayout(Controls::buttonRow({exit}));
}

void DataLocationsScreen::addRow(const QString& stem, const QString& caption, const QString& button,
                                 const QString& path, const QString& folder)
{
    auto* box = Controls::lineEdit(this, QStringLiteral("txt") + stem);
    Controls::makeDisplayOnly(box);
    box->setText(path.isEmpty() ? tr("(not known here)") : QDir::toNativeSeparators(path));
    box->setCursorPosition(0);
    box->setMinimumWidth(360);
    auto* label = Controls::label(this, caption);
    label->setBuddy(box);
    auto* open = Controls::button(this, QStringLiteral("btnOpen") + stem, button);
    open->setEnabled(!folder.isEmpty());
    connect(open, &QPushButton::clicked, this, [this, folder] { openFolder(folder); });
    const int row = m_grid->rowCount();
    m_grid->addWidget(label, row, 0);
    m_grid->addWidget(box, row, 1);
    m_grid->addWidget(open, row, 2);
}

void DataLocationsScreen::openFolder(const QString& folder)
{
    const QString shownFolder = QDir::toNativeSeparators(folder);
    if (!QFileInfo(folder).isDir()) {
        showMessage(tr("The folder %1 does not exist yet.").arg(shownFolder), MessageStyle::Plain, windowTitle());
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        showMessage(tr("The folder %1 could not be opened: no file manager answered.").arg(shownFolder),
                    MessageStyle::Warning, windowTitle());
    }
}
