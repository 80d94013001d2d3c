#pragma once

#include "services/churchinfo.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <optional>

class Database;

// The church's own row: only the first one (lowest rowid) is ever read or written.
class ChurchStore final
{
    Q_DECLARE_TR_FUNCTIONS(ChurchStore)

public:
    explicit ChurchStore(Database& db)
        : m_db(db)
    {}

    // Adds the row when the table is empty, else changes the first one; a second row stays untouched.
    // Empty texts are stored as empty text, the delay as a number.
    void save(const ChurchInfo& church);

    // The type-ahead delay in seconds when the whole text is a number of at least 1 (with a dot, or the
    // locale's decimal comma); nothing otherwise. One rule for leaving the box and for saving.
    static std::optional<double> parseDelay(const QString& text, const QLocale& locale = QLocale());
    static QString delayMessage();
    static QString delayTitle();
    // Why the church cannot be saved (the name is required), or an empty text.
    static QString checkName(const QString& name);
    static QString requiredTitle();

private:
    Database& m_db;
};
