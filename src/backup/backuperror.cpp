#include "backup/backuperror.h"

BackupError::BackupError(BackupFailure failure, const QString& message)
    : std::runtime_error(message.toStdString())
    , m_failure(failure)
    , m_message(message)
{}
