#include "backup/backupsdialog.h"

#include "backup/backuperror.h"
#include "backup/backupsettings.h"
#include "backup/retention.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

BackupsDialog::BackupsDialog(QString settingsPath, QString databasePath, QWidget* parent)
    : QDialog(parent)
    , m_settingsPath(std::move(settingsPath))
    , m_databasePath(std::move(databasePath))
{
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(tr("Backups"));
    const BackupSettings settings = BackupSettings::load(m_settingsPath);
    m_folder = new QLineEdit(QDir::toNativeSeparators(settings.folderFor(m_databasePath)), this);
    m_folder->setObjectName(QStringLiteral("txtFolder"));
    m_folder->setMinimumWidth(360);
    auto* choose = new QPushButton(tr("&Choose…"), this);
    choose->setObjectName(QStringLiteral("btnChoose"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(choose);
    auto* form = new QFormLayout;
    auto* folderLabel = new QLabel(tr("Backup &folder"), this);
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);

    const Retention::Policy policy;
    auto* rule = new QLabel(tr("Each backup is checked before it counts. Kept: the newest backup of each of the "
                               "last %1 days, %2 weeks and %3 months, every backup made by hand or before a restore, "
                               "an import or a layout update for %4 days, and every backup a message named today; "
                               "older ones are removed only after a newer backup passed its check. A backup is made "
                               "at the first login of each day.")
                                .arg(policy.daily)
                                .arg(policy.weekly)
                                .arg(policy.monthly)
                                .arg(policy.safetyDays),
                            this);
    rule->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(rule);
    layout->addWidget(buttons);
    connect(choose, &QPushButton::clicked, this, &BackupsDialog::chooseFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &BackupsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BackupsDialog::reject);
}

void BackupsDialog::chooseFolder()
{
    const QString chosen = FileDialogs::getExistingDirectory(this, tr("Backup Folder"), m_folder->text());
    if (!chosen.isEmpty()) {
        m_folder->setText(QDir::toNativeSeparators(chosen));
    }
}

void BackupsDialog::accept()
{
    const QString folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    if (folder.isEmpty()) {
        showMessage(tr("Choose the folder backups go to."), MessageStyle::Warning, tr("Backups"));
        return;
    }
    if (QFileInfo(folder).exists() && !QFileInfo(folder).isDir()) {
        showMessage(tr("%1 is a file, not a folder.").arg(QDir::toNativeSeparators(folder)), MessageStyle::Warning,
                    tr("Backups"));
        return;
    }
    BackupSettings settings = BackupSettings::load(m_settingsPath);
    // The default folder stays unnamed, so it keeps following the database.
    settings.setChosenFolder(
        QDir::cleanPath(folder) == QDir::cleanPath(BackupSettings::defaultFolder(m_databasePath)) ? QString() : folder);
    try {
        settings.save();
    } catch (const BackupError& error) {
        showMessage(error.message(), MessageStyle::Critical, tr("Backups"));
        return;
    }
    QDialog::accept();
}
