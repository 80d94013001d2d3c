#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The word lists the demo roll draws its fictional people, places and notes from.
namespace DemoLists {

struct Town
{
    QString city;
    QString state;
    QString zip;
    QString areaCode;
    int weight;
};

struct Job
{
    QString occupation;
    QString placeOfWork;
};

// A family name with first names that show off quotes and accents, given to the first households so
// that even a small roll has them.
struct FeaturedFamily
{
    QString lastName;
    QString husband;
    QString wife;
};

const QStringList& maleFirstNames();
const QStringList& femaleFirstNames();
// Names with accents, apostrophes or letters outside ASCII, mixed in now and then.
const QStringList& maleFirstNamesAccented();
const QStringList& femaleFirstNamesAccented();
const QStringList& lastNames();
const QStringList& lastNamesAccented();
const std::vector<FeaturedFamily>& featuredFamilies();

const std::vector<Town>& towns();
const QStringList& streetNames();
const QStringList& streetKinds();
const QStringList& emailDomains();

const std::vector<Job>& jobs();
const QStringList& hobbies();
const QStringList& previousChurches();
const QStringList& personNotes();
const QStringList& outsideOrganizations();

const QStringList& prospectSources();
const QStringList& contactNotes();
const QStringList& prospectNotes();

} // namespace DemoLists
