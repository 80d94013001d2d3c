#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"
#include "services/lookupstore.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>

class Database;

// The class rolls: for each class of one kind (or of the classes chosen) a page headed by its name, its teacher and
// room and the roll date, with a line and a box to tick for each active person placed in it. Asks no permission and
// shows nothing (the caller does both). Throws ReportError or DatabaseError.
class RollReports final
{
    Q_DECLARE_TR_FUNCTIONS(RollReports)

public:
    RollReports(Database& db, ReportHeading heading);

    // The rolls of every class of the kind, or of the classes given.
    ReportDocument printRoll(ClassKind kind, const QDate& rollDate, const QList<qint64>& classIds = {});
    // The rows the roll's design binds: people on the roll, class by class (by the class's ID, so two classes
    // of one name stay apart), by name within a class; each row carries its class's teacher ("First Last",
    // empty when the class has none) and room.
    Rows rollRows(ClassKind kind, const QList<qint64>& classIds = {});
    bool classExists(ClassKind kind, qint64 classId);
    static QString design(ClassKind kind);

private:
    Database& m_db;
    ReportHeading m_heading;
};
