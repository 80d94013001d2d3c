#include "backup/backupcontrol.h"

#include "backup/backupcatalog.h"
#include "backup/backuperror.h"
#include "backup/backupschedule.h"
#include "backup/backupsettings.h"
#include "backup/migrationbackup.h"
#include "backup/restore.h"
#include "core/exitcodes.h"
#include "core/textformat.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/databasesetup.h"
#include "services/appcontext.h"
#include "services/permissions.h"
#include "widgets/busycursor.h"
#include "widgets/messages.h"
#include "widgets/screenhost.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QStatusBar>

namespace {

std::optional<QDateTime> newestBackup(const QString& folder)
{
    const std::optional<BackupEntry> newest = BackupCatalog::newest(folder);
    return newest ? std::optional(newest->created) : std::nullopt;
}

} // namespace

BackupControl::BackupControl(ScreenHost& host, QString configPath)
    : QObject(host.frame())
    , m_host(host)
    , m_configPath(std::move(configPath))
{
    m_progress = new QProgressBar(host.frame());
    m_progress->setObjectName(QStringLiteral("backupProgress"));
    m_progress->setRange(0, 100);
    m_progress->setMaximumWidth(160);
    m_progress->hide();
    m_status = new QLabel(host.frame());
    m_status->setObjectName(QStringLiteral("lastBackup"));
    host.addStatusWidget(m_progress);
    host.addStatusWidget(m_status);
    // After the login screen has closed, so that a reminder does not stand over it.
    host.afterLogin(this, [this] { checkAfterLogin(); });
    showLastBackup();
}

BackupControl::~BackupControl()
{
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

QString BackupControl::settingsPath() const
{
    return BackupSettings::pathBeside(m_configPath);
}

QString BackupControl::backupFolder() const
{
    return BackupSettings::load(settingsPath()).folderFor(m_host.context().config().databasePath);
}

void BackupControl::showLastBackup()
{
    m_status->setText(BackupSchedule::statusText(newestBackup(backupFolder())));
}

bool BackupControl::start(BackupReason reason)
{
    if (m_running) {
        return false;
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    const AppConfig& config = m_host.context().config();
    BackupRequest request;
    request.databasePath = config.databasePath;
    request.key = Database::defaultKey();
    request.pictureFolder = config.pictureFolder;
    request.backupFolder = backupFolder();
    request.reason = reason;
    request.clock = &m_host.context().clock();
    request.keepNamed = BackupSettings::load(settingsPath()).namedOn(m_host.context().clock().today());
    m_running = true;
    m_progress->setValue(0);
    m_progress->show();
    m_worker = std::jthread([this, request, reason](std::stop_token stop) mutable {
        request.stop = stop;
        request.progress = [this](const BackupProgress& progress) {
            QMetaObject::invokeMethod(
                this, [this, fraction = progress.fraction, text = progress.text()] { progressed(fraction, text); },
                Qt::QueuedConnection);
        };
        std::optional<BackupResult> result;
        QString failure;
        try {
            result = BackupWriter::run(request);
        } catch (const BackupError& error) {
            failure = error.message();
        } catch (const std::exception& error) {
            failure = QString::fromLocal8Bit(error.what());
        }
        QMetaObject::invokeMethod(
            this, [this, result, failure, reason] { ended(result, failure, reason); }, Qt::QueuedConnection);
    });
    return true;
}

void BackupControl::waitForBackup()
{
    if (m_worker.joinable()) {
        m_worker.join();
    }
    // Delivers what the finished backup posted back to this thread.
    QCoreApplication::sendPostedEvents(this);
}

void BackupControl::progressed(double fraction, const QString& text)
{
    m_progress->setValue(int(fraction * 100));
    m_progress->setToolTip(text);
}

void BackupControl::ended(std::optional<BackupResult> result, const QString& failure, BackupReason reason)
{
    m_running = false;
    m_progress->hide();
    showLastBackup();
    if (result) {
        rememberNamed(result->folder);
        emit m_host.context().requests().showStatus(
            tr("Backup made: %1").arg(QDir::toNativeSeparators(result->folder)));
        emit backupMade(result->folder);
        return;
    }
    emit m_host.context().requests().showStatus(tr("The backup failed."));
    emit backupFailed(failure);
    // A backup asked for by hand, or one an Admin should know failed, is reported at once.
    if (reason == BackupReason::Manual || Permissions::isAdmin(m_host.context().user())) {
        showMessage(failure, MessageStyle::Critical, tr("Backup"));
    }
}

void BackupControl::checkAfterLogin()
{
    showLastBackup();
    // An Admin told of an old backup decides himself; otherwise the first login of a day makes one.
    if (remindIfStale() == Reminder::NotShown &&
        BackupSchedule::dailyBackupDue(newestBackup(backupFolder()), m_host.context().clock().today())) {
        start(BackupReason::Automatic);
    }
}

BackupControl::Reminder BackupControl::remindIfStale()
{
    if (!Permissions::isAdmin(m_host.context().user()) || m_running) {
        return Reminder::NotShown;
    }
    const QString folder = backupFolder();
    const std::optional<QDateTime> newest = newestBackup(folder);
    BackupSettings settings = BackupSettings::load(settingsPath());
    const QDateTime now = m_host.context().clock().now();
    if (!BackupSchedule::remindToday(newest, now, settings.staleReminderShown())) {
        return Reminder::NotShown;
    }
    settings.setStaleReminderShown(now.date());
    try {
        settings.save();
    } catch (const BackupError&) {
        // Not remembered: the reminder comes again at the next login today, which does no harm.
    }
    const QString when = newest ? tr("The newest backup is from %1, more than %2 days ago.")
                                      .arg(shortDateTime(*newest))
                                      .arg(BackupSchedule::kStaleAfterDays)
                                : tr("There is no backup of this database yet.");
    const QString question = when + u' ' + tr("Make one now?");
    if (showMessage(question, MessageStyle::YesNo, tr("Backup")) != MessageAnswer::Yes) {
        return Reminder::Declined;
    }
    start(BackupReason::Manual);
    return Reminder::Accepted;
}

void BackupControl::rememberNamed(const QString& folder)
{
    if (folder.isEmpty()) {
        return;
    }
    BackupSettings settings = BackupSettings::load(settingsPath());
    settings.rememberNamed(folder, m_host.context().clock().today());
    try {
        settings.save();
    } catch (const BackupError&) {
        // Not remembered: the backup is then kept only as the other rules say.
    }
}

bool BackupControl::restore(const QString& backup)
{
    AppContext& context = m_host.context();
    const QString title = tr("Restore");
    const std::optional<BackupManifest> manifest = BackupManifest::readFrom(RestoreOperation::backupFolderOf(backup));
    const QString made = manifest ? shortDateTime(manifest->created) : QDir::toNativeSeparators(backup);
    if (showMessage(tr("Put the backup of %1 in place of the database and its pictures? The database as it is "
                       "now is backed up first. Every open screen closes and everybody logs in again.")
                        .arg(made),
                    MessageStyle::YesNo, title) != MessageAnswer::Yes) {
        return false;
    }
    // Named in the question: the day's pruning leaves it, whatever comes of the restore.
    rememberNamed(RestoreOperation::backupFolderOf(backup));
    waitForBackup();
    const AppConfig config = context.config();
    const QString key = Database::defaultKey();
    RestoreOperation operation({config.databasePath, key, config.pictureFolder, backupFolder()}, backup);
    operation.setClock(&context.clock());
    try {
        const BusyCursor busy;
        operation.prepare();
    } catch (const BackupError& error) {
        showMessage(error.message(), MessageStyle::Critical, title);
        return false;
    }
    // Every screen closes first; one whose user keeps his typed work stops the restore.
    if (!m_host.logOff()) {
        showMessage(tr("Nothing was restored: a screen with unsaved changes stayed open."), MessageStyle::Plain, title);
        return false;
    }
    std::optional<RestoreResult> result;
    QString failure;
    {
        const BusyCursor busy;
        context.closeDatabase();
        try {
            result = operation.replace();
        } catch (const BackupError& error) {
            failure = error.message();
        }
        try {
            // The restored file may be of an older layout: it is brought up to date as at start-up.
            context.replaceDatabase(
                openOrCreateDatabase(config.databasePath, key, MigrationBackup::guard(config, m_configPath, key)));
        } catch (const DatabaseError& error) {
            showMessage(tr("The database could not be opened again: %1\nKelvane closes now.").arg(error.message()),
                        MessageStyle::Critical, title);
            QCoreApplication::exit(ExitBadDatabase);
            return false;
        }
    }
    showLastBackup();
    if (!result) {
        showMessage(failure, MessageStyle::Critical, title);
        return false;
    }
    rememberNamed(result->previousBackup);
    emit context.requests().showStatus(tr("Restored the backup of %1; the database as it was is in %2.")
                                           .arg(made, QDir::toNativeSeparators(result->previousBackup)));
    return true;
}
