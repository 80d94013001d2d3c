#include "admin/churchstore.h"

#include "data/database.h"

#include <cmath>

std::optional<double> ChurchStore::parseDelay(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double delay = QLocale::c().toDouble(trimmed, &ok);
    if (!ok) {
        delay = locale.toDouble(trimmed, &ok);
    }
    if (!ok || !(delay >= 1.0) || !std::isfinite(delay)) {
        return std::nullopt;
    }
    return delay;
}

QString ChurchStore::delayMessage()
{
    return tr("Quantity must be greater than 0.");
}

QString ChurchStore::delayTitle()
{
    return tr("Invalid Entry");
}

QString ChurchStore::checkName(const QString& name)
{
    return name.trimmed().isEmpty() ? tr("Church Name is Required.") : QString();
}

QString ChurchStore::requiredTitle()
{
    return tr("Required Fields");
}

void ChurchStore::save(const ChurchInfo& church)
{
    const QVariantList values = {church.name,  church.address1, church.address2,     church.city,
                                 church.state, church.zip,      church.phone,        church.fax,
                                 church.email, church.website,  church.keyPressDelay};
    const auto first = m_db.selectOne(QStringLiteral("SELECT rowid FROM Church ORDER BY rowid LIMIT 1"));
    if (!first) {
        m_db.execute(QStringLiteral("INSERT INTO Church (Name, Address1, Address2, City, State, Zip, Phone, Fax, "
                                    "Email, Website, KeyPressDelay) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                     values);
        return;
    }
    m_db.execute(QStringLiteral("UPDATE Church SET Name = ?, Address1 = ?, Address2 = ?, City = ?, State = ?, "
                                "Zip = ?, Phone = ?, Fax = ?, Email = ?, Website = ?, KeyPressDelay = ? "
                                "WHERE rowid = ?"),
                 values + QVariantList{first->integer(u"rowid")});
}
