#include "reports/smtpsender.h"

#include <curl/curl.h>

#include <QDateTime>
#include <QUuid>

#include <mutex>

struct SmtpSender::Handle
{
    CURL* curl = nullptr;
    ~Handle()
    {
        if (curl != nullptr) {
            curl_easy_cleanup(curl);
        }
    }
};

namespace {

void initialiseCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A header's text in RFC 2047 words when it is not plain ASCII.
QByteArray headerText(const QString& text)
{
    bool ascii = true;
    for (const QChar c : text) {
        ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7f;
    }
    if (ascii) {
        return text.toLatin1();
    }
    return "=?UTF-8?B?" + text.toUtf8().toBase64() + "?=";
}

QByteArray addressOnly(const QString& address)
{
    return QByteArray('<' + address.trimmed().toUtf8() + '>');
}

} // namespace

SmtpSender::SmtpSender(MailServer server, QString password)
    : m_server(std::move(server))
    , m_password(std::move(password))
    , m_handle(std::make_unique<Handle>())
{
    initialiseCurl();
}

SmtpSender::~SmtpSender() = default;

QString SmtpSender::send(const MailMessage& message)
{
    if (m_handle->curl == nullptr) {
        m_handle->curl = curl_easy_init();
        if (m_handle->curl == nullptr) {
            return tr("The mail library could not be started.");
        }
    }
    CURL* curl = m_handle->curl;
    const QByteArray scheme = m_server.security == MailServer::Security::Tls ? "smtps://" : "smtp://";
    const QByteArray url = scheme + m_server.host.trimmed().toUtf8() + ':' + QByteArray::number(m_server.port);
    const QByteArray user = m_server.userName.toUtf8();
    const QByteArray password = m_password.toUtf8();
    const QByteArray from = addressOnly(message.from);
    const QByteArray to = addressOnly(message.to);
    char error[CURL_ERROR_SIZE] = {0};

    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 300L);
    if (m_server.security == MailServer::Security::StartTls) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    }
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_slist* recipients = curl_slist_append(nullptr, to.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);

    const QByteArray fromHeader = "From: " + headerText(message.from);
    const QByteArray toHeader = "To: " + headerText(message.to);
    const QByteArray subjectHeader = "Subject: " + headerText(message.subject);
    const QByteArray dateHeader = "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1();
    const QByteArray idHeader = "Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' +
                                m_server.host.trimmed().toUtf8() + '>';
    curl_slist* headers = nullptr;
    for (const QByteArray* header : {&dateHeader, &fromHeader, &toHeader, &subjectHeader, &idHeader}) {
        headers = curl_slist_append(headers, header->constData());
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    curl_mime* mime = curl_mime_init(curl);
    curl_mimepart* text = curl_mime_addpart(mime);
    const QByteArray body = message.body.toUtf8();
    curl_mime_data(text, body.constData(), size_t(body.size()));
    curl_mime_type(text, "text/plain; charset=utf-8");
    curl_mime_encoder(text, "quoted-printable");
    curl_mimepart* file = curl_mime_addpart(mime);
    curl_mime_data(file, message.attachment.constData(), size_t(message.attachment.size()));
    curl_mime_type(file, "application/pdf");
    const QByteArray fileName = message.attachmentName.toUtf8();
    curl_mime_filename(file, fileName.constData());
    curl_mime_encoder(file, "base64");
    curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime);

    const CURLcode result = curl_easy_perform(curl);
    curl_mime_free(mime);
    curl_slist_free_all(headers);
    curl_slist_free_all(recipients);
    if (result == CURLE_OK) {
        return {};
    }
    const QString reason = QString::fromUtf8(error).trimmed();
    return reason.isEmpty() ? QString::fromUtf8(curl_easy_strerror(result)) : reason;
}
