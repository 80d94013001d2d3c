#pragma once

#include "members/memberstore.h"

#include <QImage>
#include <QWidget>

#include <optional>

class AppContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// Page "Contact Info": name, address, phones, e-mail, the picture and the family frame.
class ContactInfoPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContactInfoPage)

public:
    ContactInfoPage(AppContext& context, QWidget* parent = nullptr);

    void setLists(const MemberLookupLists& lists);
    void clear();
    void show(const MemberRecord& record);
    void readInto(MemberRecord& record) const;
    // A new person starts in the church's town.
    void setTown(const QString& city, const QString& state, const QString& zip);
    void setMemberId(qint64 id);
    // The shown person's ID; 0 for a new person.
    qint64 memberId() const;

    // The picture chosen with "Load Picture" since the person was shown, waiting to be saved.
    std::optional<PendingPicture> pendingPicture() const;
    // The pending picture was written: nothing waits any more.
    void pictureSaved();
    // "Load Picture": asks for a file and shows it scaled; nothing is written yet.
    void loadPicture();

    QComboBox* memberStatus() const { return m_memberStatus; }
    QLineEdit* email() const { return m_email; }
    QGroupBox* familyFrame() const { return m_familyFrame; }

private:
    void showPicture(const QImage& image);

    AppContext& m_context;
    QLineEdit* m_memberId;
    QComboBox* m_memberStatus;
    QComboBox* m_title;
    QLineEdit* m_firstName;
    QLineEdit* m_middleName;
    QLineEdit* m_lastName;
    QLineEdit* m_address1;
    QLineEdit* m_address2;
    QLineEdit* m_city;
    QComboBox* m_state;
    QLineEdit* m_zip;
    QLineEdit* m_homePhone;
    QLineEdit* m_cell;
    QLineEdit* m_workPhone;
    QLineEdit* m_email;
    QLabel* m_picture;
    QPushButton* m_loadPicture;
    QLineEdit* m_fileType;
    QImage m_pendingImage;
    QGroupBox* m_familyFrame;
    QComboBox* m_memberAdd;
    QComboBox* m_relationship;
};
