#include "reports/reporterror.h"

ReportError::ReportError(const QString& message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{}
