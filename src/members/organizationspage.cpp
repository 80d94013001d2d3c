#include "members/organizationspage.h"

#include "widgets/controls.h"
#include "widgets/listhelpers.h"
#include "widgets/pairedlist.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

namespace {

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
    m_all = PairedList::multiSelectList(this, QStringLiteral("lstAllOrganizations"));
    m_member = PairedList::multiSelectList(this, QStringLiteral("lstMemberOrganizations"));
    QVBoxLayout* buttons = PairedList::moveButtons(this, m_all, m_member);
    for (QListWidget* list : {m_all, m_member}) {
        showsLookupList(list, LookupList::Organizations);
    }

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
