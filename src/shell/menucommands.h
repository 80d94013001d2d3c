#pragma once

#include "shell/permissions.h"

#include <QList>
#include <QString>
#include <QStringList>

// One entry of the menu bar: what it is called, what it asks and what it opens.
struct MenuEntry
{
    QString name;            // object name, e.g. "MemberEntry"
    QString caption;         // shown text with its access key
    QStringList permissions; // any one suffices, asked in this order; empty = no test
    Refusal refusal = Refusal::Record;
    QString screen; // screen to open (e.g. "frmMemberEntry"); empty = a command registered by name
    QList<MenuEntry> children;

    bool isSubmenu() const { return !children.isEmpty(); }
};

// The whole menu bar, in order.
const QList<MenuEntry>& menuTree();
// The entry with this object name anywhere in the tree, or nullptr.
const MenuEntry* findMenuEntry(const QString& name);
