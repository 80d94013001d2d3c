#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"
#include "shell/lookupstore.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>

class Database;

// The class rolls: for each class of one kind a page headed by its name and the roll date, with a line and a
// box to tick for each active person placed in it. Asks no permission and shows nothing (the caller does
// both). Throws ReportError or DatabaseError.
class RollReports final
{
    Q_DECLARE_TR_FUNCTIONS(RollReports)

public:
    RollReports(Database& db, ReportHeading heading);

    ReportDocument printRoll(ClassKind kind, const QDate& rollDate);
    // The rows the roll's design binds: people on the roll, class by class (by the class's ID, so two classes
    // of one name stay apart), by name within a class.
    Rows rollRows(ClassKind kind);
    static QString design(ClassKind kind);

private:
    Database& m_db;
    ReportHeading m_heading;
};
