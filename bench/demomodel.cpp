#include "demomodel.h"

namespace Demo {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

int ageOn(const QDate& birth, const QDate& day)
{
    int age = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day())) {
        --age;
    }
    return age;
}

bool bandFits(const ClassBand& band, int age, const QString& gender)
{
    const bool genderFits =
        band.gender == 0 || (band.gender == 'M' && gender != u"Female") || (band.gender == 'F' && gender != u"Male");
    return age >= band.minAge && age <= band.maxAge && genderFits;
}

const std::vector<ClassKind>& classKinds()
{
    static const std::vector<ClassKind> kinds = {
        {"Sunday_School",
         kSundaySchool,
         18,
         {{"Nursery", 0, 1, 0},
          {"Preschool", 2, 4, 0},
          {"Kindergarten", 5, 5, 0},
          {"Grades 1-2", 6, 7, 0},
          {"Grades 3-4", 8, 9, 0},
          {"Grades 5-6", 10, 11, 0},
          {"Middle School Boys", 12, 14, 'M'},
          {"Middle School Girls", 12, 14, 'F'},
          {"High School Boys", 15, 17, 'M'},
          {"High School Girls", 15, 17, 'F'},
          {"College & Career", 18, 24, 0},
          {"Young Married Couples", 25, 34, 0},
          {"Adults 35-44", 35, 44, 0},
          {"Adults 45-54", 45, 54, 0},
          {"Men 55-64", 55, 64, 'M'},
          {"Ladies 55-64", 55, 64, 'F'},
          {"Men 65+", 65, 200, 'M'},
          {"Ladies 65+", 65, 200, 'F'}}},
        {"Discipleship_Training",
         kDiscipleship,
         25,
         {{"Preschool Discipleship", 3, 5, 0},
          {"Children's Discipleship (Grades 1-3)", 6, 8, 0},
          {"Children's Discipleship (Grades 4-6)", 9, 11, 0},
          {"Youth Discipleship", 12, 17, 0},
          {"Young Adults", 18, 29, 0},
          {"Adult Bible Doctrine", 30, 59, 0},
          {"Senior Adult Discipleship", 60, 200, 0}}},
        {"Wednesday_Night",
         kWednesdayNight,
         30,
         {{"Mission Friends", 3, 5, 0},
          {"Children's Missions", 6, 11, 0},
          {"Youth Bible Study", 12, 17, 0},
          {"Adult Prayer Meeting", 18, 200, 0},
          {"Ladies' Bible Study", 18, 200, 'F'},
          {"Men's Bible Study", 18, 200, 'M'}}},
    };
    return kinds;
}

const std::vector<Responsibility>& responsibilities()
{
    static const std::vector<Responsibility> list = {
        {"Usher", "Seats people and takes up the offering", 5, 2},
        {"Greeter", "Welcomes people at the doors", 5, 2},
        {"Nursery Worker", "Keeps the nursery during services", 4, 1},
        {"Van Driver", "Drives the church van", 1, 1},
        {"Media Team", "Runs sound, screens and the recording", 2, 1},
        {"Trustee", "Looks after the buildings and grounds", 0, 3},
        {"Treasurer", "Keeps the church's accounts", 0, 1},
        {"Church Clerk", "Keeps the minutes and the roll", 0, 1},
        {"Pianist", "Plays for the services", 0, 2},
        {"Music Director", "Leads the choir and the music", 0, 1},
        {"Sunday School Director", "Oversees the Sunday School", 0, 1},
        {"Finance Committee", "Prepares the budget", 0, 5},
    };
    return list;
}

const std::vector<OrganizationRule>& organizations()
{
    static const std::vector<OrganizationRule> list = {
        {"Choir", 14, 200, 0, 0.12},
        {"Men's Ministry", 18, 200, 'M', 0.20},
        {"Women's Ministry", 18, 200, 'F', 0.25},
        {"Youth Group", 12, 18, 0, 0.60},
        {"Senior Adults", 65, 200, 0, 0.40},
        {"Missions Committee", 21, 200, 0, 0.03},
        {"Handbell Choir", 12, 200, 0, 0.03},
        {"Hospitality Team", 18, 200, 0, 0.05},
        {"Vacation Bible School Team", 14, 200, 0, 0.06},
        {"Women on Mission", 18, 200, 'F', 0.08},
    };
    return list;
}

} // namespace Demo
