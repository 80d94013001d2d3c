#pragma once

#include "data/row.h"

#include <QDate>
#include <QHash>
#include <QString>

// What every page of every report carries besides its title.
struct ReportHeading
{
    QString churchName;
    QDate printDate;
};

// What a builder hands the renderer: the rows of the report's query (columns in the order the design
// declares its fields), the rows of each subreport by name, and the named texts it sets.
struct ReportData
{
    Rows rows;
    QHash<QString, Rows> subreportRows;
    QHash<QString, QString> namedTexts;
    ReportHeading heading;
};
