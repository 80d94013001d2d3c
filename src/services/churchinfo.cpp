#include "services/churchinfo.h"

#include "data/database.h"

std::optional<ChurchInfo> ChurchInfo::load(Database& db)
{
    const auto row = db.selectOne(QStringLiteral("SELECT Name, Address1, Address2, City, State, Zip, Phone, Fax, "
                                                 "Email, Website, KeyPressDelay FROM Church ORDER BY rowid LIMIT 1"));
    if (!row) {
        return std::nullopt;
    }
    ChurchInfo info;
    info.name = row->text(u"Name");
    info.address1 = row->text(u"Address1");
    info.address2 = row->text(u"Address2");
    info.city = row->text(u"City");
    info.state = row->text(u"State");
    info.zip = row->text(u"Zip");
    info.phone = row->text(u"Phone");
    info.fax = row->text(u"Fax");
    info.email = row->text(u"Email");
    info.website = row->text(u"Website");
    info.keyPressDelay = row->real(u"KeyPressDelay");
    return info;
}
