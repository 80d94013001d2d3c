#pragma once

#include "core/commandid.h"
#include "core/screenid.h"
#include "services/permissions.h"

#include <QList>
#include <QString>

#include <optional>

// One entry of the menu bar: what it is called, what it asks and what it opens.
struct MenuEntry
{
    QString name;                  // object name, e.g. "MemberEntry"
    QString caption;               // shown text with its access key
    QList<Permission> permissions; // any one suffices, asked in this order; empty = no test
    Refusal refusal = Refusal::Record;
    std::optional<ScreenId> screen;   // the screen it opens, or
    std::optional<CommandId> command; // the command it runs
    QList<MenuEntry> children;
    // Shown to "Admin" logins only (the backup commands); hidden for everyone else.
    bool adminOnly = false;

    bool isSubmenu() const { return !children.isEmpty(); }
};

// The whole menu bar, in order.
const QList<MenuEntry>& menuTree();
// The entry with this object name anywhere in the tree, or nullptr.
const MenuEntry* findMenuEntry(const QString& name);
