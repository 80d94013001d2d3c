#pragma once

#include "members/familystore.h"
#include "members/memberstore.h"

#include <QWidget>

#include <optional>

class AppContext;
class MemberScreenState;
class PhoneBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Page "Contact Info": name, address, phones, e-mail, the picture, and room for the family frame.
class ContactInfoPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContactInfoPage)

public:
    ContactInfoPage(AppContext& context, MemberScreenState& state, QWidget* parent = nullptr);

    void setLists(const MemberLookupLists& lists);
    void clear();
    void show(const MemberRecord& record);
    void readInto(MemberRecord& record) const;
    // A new person starts in the church's town.
    void setTown(const QString& city, const QString& state, const QString& zip);
    // Shows the person's ID (none for a new person).
    void showMemberId(qint64 id);
    // "Load Picture": asks for a file and shows it scaled; it waits in the screen's state until saved.
    void loadPicture();
    // The address and home phone on screen, read as a save reads them; nothing, after a message naming the
    // box, when the home phone holds text that is no phone number.
    std::optional<HouseholdAddress> addressOnScreen();
    // Places the family frame below the fields.
    void placeFamilyFrame(QWidget* frame);

    QComboBox* memberStatus() const { return m_memberStatus; }
    QLineEdit* firstName() const { return m_firstName; }
    QLineEdit* lastName() const { return m_lastName; }
    QLineEdit* email() const { return m_email; }

private:
    void showPicture(const QImage& image);

    AppContext& m_context;
    MemberScreenState& m_screenState;
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
    PhoneBox* m_homePhone;
    PhoneBox* m_cell;
    PhoneBox* m_workPhone;
    QLineEdit* m_email;
    QLabel* m_picture;
    QPushButton* m_loadPicture;
};
