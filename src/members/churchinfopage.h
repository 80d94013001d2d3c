#pragma once

#include "members/memberstore.h"

#include <QList>
#include <QWidget>

#include <functional>

class AppContext;
class DateSwitch;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

// Page "Church Info": church status, church dates, attendance levels, classes, care group, deacon,
// newsletter choices, and room for the responsibilities frame.
class ChurchInfoPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChurchInfoPage)

public:
    // emailText gives the person's e-mail address as it stands on screen.
    ChurchInfoPage(AppContext& context, std::function<QString()> emailText, QWidget* parent = nullptr);

    void setLists(const MemberLookupLists& lists);
    void clear(const QDate& today);
    void show(const MemberRecord& record);
    void readInto(MemberRecord& record) const;

    // The member fields are open only for a person whose church status is exactly "Active".
    static bool memberFieldsOpenFor(const QString& churchStatus);
    // Enables or disables the member fields for the chosen church status. Enabling enables every church
    // date picker together with its check box, whatever the box shows; the box alone still decides whether
    // the date is saved, and clicking it afterwards switches the picker with it.
    void applyChurchStatusRule();

    // Places the responsibilities frame below the fields.
    void placeResponsibilitiesFrame(QWidget* frame);

    QComboBox* churchStatus() const { return m_churchStatus; }

private:
    bool memberFieldsOpen() const;
    void newsletterByEmailClicked(bool checked);

    std::function<QString()> m_emailText;
    QComboBox* m_churchStatus;
    DateSwitch* m_memberSince;
    QLineEdit* m_previousChurch;
    DateSwitch* m_cameForward;
    DateSwitch* m_baptized;
    DateSwitch* m_letterOut;
    DateSwitch* m_deceased;
    QComboBox* m_ssAttend;
    QComboBox* m_worshipAttend;
    QComboBox* m_discAttend;
    QComboBox* m_sundayEveAttend;
    QComboBox* m_wedAttend;
    QComboBox* m_ssClass;
    QComboBox* m_careGroup;
    QComboBox* m_discClass;
    QComboBox* m_wedClass;
    QComboBox* m_deacon;
    QCheckBox* m_newsletterByMail;
    QCheckBox* m_newsletterByEmail;
};
