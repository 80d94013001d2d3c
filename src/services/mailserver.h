#pragma once

#include <QString>

class Database;

// The office's mail server that statements are sent through (Setup). Its password is asked each time mail is
// sent and never stored.
struct MailServer
{
    enum class Security { None, StartTls, Tls };

    QString host;
    int port = 587;
    Security security = Security::StartTls;
    QString userName;
    // The address the messages come from; the church's e-mail address when empty.
    QString sender;

    bool isSet() const { return !host.trimmed().isEmpty(); }
    // The stored setting, or the defaults when none was saved. Throws DatabaseError.
    static MailServer load(Database& db);
    // Replaces the stored setting. Throws DatabaseError.
    void save(Database& db) const;

    static QString securityName(Security security);
    static Security securityFromName(const QString& name);
};
