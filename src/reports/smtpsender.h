#pragma once

#include "services/mailserver.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <memory>

// One message as the statements send it: plain text with one file attached.
struct MailMessage
{
    QString from;
    QString to;
    QString subject;
    QString body;
    QString attachmentName;
    QByteArray attachment;
};

// Sends messages through the office's SMTP server with libcurl, keeping the connection open between messages.
// A failure of one message is returned with the server's reason; the next message tries again.
class SmtpSender final
{
    Q_DECLARE_TR_FUNCTIONS(SmtpSender)

public:
    SmtpSender(MailServer server, QString password);
    ~SmtpSender();
    SmtpSender(const SmtpSender&) = delete;
    SmtpSender& operator=(const SmtpSender&) = delete;

    // Empty when the server took the message, else why not.
    QString send(const MailMessage& message);

private:
    struct Handle;
    MailServer m_server;
    QString m_password;
    std::unique_ptr<Handle> m_handle;
};
