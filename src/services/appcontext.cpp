#include "services/appcontext.h"

#include "data/database.h"
#include "services/peoplemodel.h"

#include <QCoreApplication>

namespace {

// The context under which this file's texts are translated.
class AppContextText
{
    Q_DECLARE_TR_FUNCTIONS(AppContext)
};

} // namespace

AppContext::AppContext(std::unique_ptr<Database> db, AppConfig config, Clock& clock)
    : m_db(std::move(db))
    , m_config(std::move(config))
    , m_clock(clock)
    , m_people(std::make_unique<PeopleModel>(*m_db))
{
    // The shared people list follows every save and delete once it has been read.
    const auto refresh = [this] {
        if (m_people->isLoaded()) {
            m_people->reload();
        }
    };
    QObject::connect(&m_changes, &ChangeNotifier::memberSaved, m_people.get(), refresh);
    QObject::connect(&m_changes, &ChangeNotifier::memberDeleted, m_people.get(), refresh);
    QObject::connect(&m_changes, &ChangeNotifier::namesChanged, m_people.get(), refresh);
}

AppContext::~AppContext() = default;

void AppContext::closeDatabase()
{
    m_db.reset();
}

void AppContext::replaceDatabase(std::unique_ptr<Database> db)
{
    m_db = std::move(db);
    m_people->useDatabase(*m_db);
    reloadChurch();
}

PeopleModel& AppContext::people()
{
    m_people->ensureLoaded();
    return *m_people;
}

bool AppContext::reloadChurch()
{
    const auto church = ChurchInfo::load(*m_db);
    if (!church) {
        return false;
    }
    m_church = *church;
    return true;
}

QString AppContext::backupBeforeImport() const
{
    return m_backupBeforeImport ? m_backupBeforeImport() : AppContextText::tr("Backups are not set up.");
}
