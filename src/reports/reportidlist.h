#pragma once

#include <QList>
#include <QString>

#include <optional>

class Database;

// The people a report is run for, held in a temporary table for the time of one report, so that a
// statement can name any number of them ("Member.ID IN (SELECT ID FROM Report_ID_List)") with every ID
// bound as a value; a list of tens of thousands works as well as one of three.
class ReportIdList final
{
public:
    ReportIdList(Database& db, const QList<qint64>& ids);
    ~ReportIdList();
    ReportIdList(const ReportIdList&) = delete;
    ReportIdList& operator=(const ReportIdList&) = delete;

    // "<column> IN (SELECT ID FROM Report_ID_List)".
    static QString condition(const QString& column);

    // Reads an ID list as people type or pass it: "12,15,27", "(12, 15, 27)". Nothing when any entry is
    // not a whole number above zero, or when the list is empty.
    static std::optional<QList<qint64>> parse(const QString& text);

private:
    Database& m_db;
};
