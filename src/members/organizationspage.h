#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;
class QPushButton;

// Page "Church Organizations": every organization on the left, the person's on the right, and the
// four buttons that move entries between them. Only saving the person writes the change.
class OrganizationsPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OrganizationsPage)

public:
    explicit OrganizationsPage(QWidget* parent = nullptr);

    // Shows the person's organizations and the ones he does not belong to.
    void show(const QStringList& available, const QStringList& memberOf);
    // The catalogue changed: offers it anew, leaving out what the person's list already holds.
    void setCatalogue(const QStringList& all);
    QStringList memberOrganizations() const;
    QStringList availableOrganizations() const;

private:
    QListWidget* m_all;
    QListWidget* m_member;
};
