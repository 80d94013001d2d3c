#pragma once

#include <QList>
#include <QString>

// An entry of a name/ID list: the key behind it and the name shown for it (a person, a class, a care
// group by its leader).
struct NamedId
{
    qint64 id = 0;
    QString name;

    bool operator==(const NamedId&) const = default;
};

using NamedIds = QList<NamedId>;
