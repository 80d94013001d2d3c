#include "services/mailserver.h"

#include "data/database.h"
#include "data/transaction.h"

MailServer MailServer::load(Database& db)
{
    MailServer server;
    const auto row = db.selectOne(
        QStringLiteral("SELECT Host, Port, Security, User_Name, Sender FROM Mail_Server ORDER BY ID LIMIT 1"));
    if (!row) {
        return server;
    }
    server.host = row->text(u"Host");
    server.port = int(row->integer(u"Port"));
    server.security = securityFromName(row->text(u"Security"));
    server.userName = row->text(u"User_Name");
    server.sender = row->text(u"Sender");
    return server;
}

void MailServer::save(Database& db) const
{
    Transaction transaction(db);
    db.execute(QStringLiteral("DELETE FROM Mail_Server"));
    db.execute(QStringLiteral("INSERT INTO Mail_Server (ID, Host, Port, Security, User_Name, Sender) "
                              "VALUES (?, ?, ?, ?, ?, ?)"),
               {1, host.trimmed(), port, securityName(security), userName.trimmed(), sender.trimmed()});
    transaction.commit();
}

QString MailServer::securityName(Security security)
{
    switch (security) {
        case Security::None:
            return QStringLiteral("none");
        case Security::Tls:
            return QStringLiteral("tls");
        case Security::StartTls:
            break;
    }
    return QStringLiteral("starttls");
}

MailServer::Security MailServer::securityFromName(const QString& name)
{
    if (name == u"none") {
        return Security::None;
    }
    return name == u"tls" ? Security::Tls : Security::StartTls;
}
