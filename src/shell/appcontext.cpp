#include "shell/appcontext.h"

#include "data/database.h"

AppContext::AppContext(std::unique_ptr<Database> db, AppConfig config, Clock& clock)
    : m_db(std::move(db))
    , m_config(std::move(config))
    , m_clock(clock)
{}

AppContext::~AppContext() = default;

bool AppContext::reloadChurch()
{
    const auto church = ChurchInfo::load(*m_db);
    if (!church) {
        return false;
    }
    m_church = *church;
    return true;
}
