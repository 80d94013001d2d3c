#include "members/organizationspage.h"

#include "widgets/controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

namespace {

QListWidget* organizationList(QWidget* parent, const QString& name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QStringList entries(const QListWidget* list)
{
    QStringList out;
    out.reserve(list->count());
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

} // namespace

OrganizationsPage::OrganizationsPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageChurchOrganizations"));
    m_all = organizationList(this, QStringLiteral("lstAllOrganizations"));
    m_member = organizationList(this, QStringLiteral("lstMemberOrganizations"));
    QPushButton* add = Controls::button(this, QStringLiteral("btnAdd"), tr("&Add >"));
    QPushButton* remove = Controls::button(this, QStringLiteral("btnRemove"), tr("< &Rem"));
    QPushButton* addAll = Controls::button(this, QStringLiteral("btnAddAll"), tr("A&dd >>"));
    QPushButton* removeAll = Controls::button(this, QStringLiteral("btnRemoveAll"), tr("<< Re&m"));
    connect(add, &QPushButton::clicked, this, [this] { moveEntries(m_all, m_member, true); });
    connect(remove, &QPushButton::clicked, this, [this] { moveEntries(m_member, m_all, true); });
    connect(addAll, &QPushButton::clicked, this, [this] { moveEntries(m_all, m_member, false); });
    connect(removeAll, &QPushButton::clicked, this, [this] { moveEntries(m_member, m_all, false); });

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {add, remove, addAll, removeAll}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(label(this, tr("All Organizations")), 0, 0);
    layout->addWidget(label(this, tr("Member Organizations")), 0, 2);
    layout->addWidget(m_all, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->addWidget(m_member, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
}

void OrganizationsPage::show(const QStringList& available, const QStringList& memberOf)
{
    m_all->clear();
    m_all->addItems(available);
    m_member->clear();
    m_member->addItems(memberOf);
}

void OrganizationsPage::setCatalogue(const QStringList& all)
{
    const QStringList held = memberOrganizations();
    m_all->clear();
    for (const QString& name : all) {
        if (!held.contains(name, Qt::CaseInsensitive)) {
            m_all->addItem(name);
        }
    }
}

QStringList OrganizationsPage::memberOrganizations() const
{
    return entries(m_member);
}

QStringList OrganizationsPage::availableOrganizations() const
{
    return entries(m_all);
}

void OrganizationsPage::moveEntries(QListWidget* from, QListWidget* to, bool selectedOnly)
{
    if (selectedOnly && from->currentRow() < 0) {
        return;
    }
    for (int row = from->count() - 1; row >= 0; --row) {
        if (selectedOnly && !from->item(row)->isSelected()) {
            continue;
        }
        QListWidgetItem* item = from->takeItem(row);
        to->addItem(item);
        item->setSelected(false);
    }
}
