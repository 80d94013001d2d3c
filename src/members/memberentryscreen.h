#pragma once

#include "members/memberstore.h"
#include "services/lookupstore.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

class AppContext;
class AttendancePage;
class ChurchInfoPage;
class ContactInfoPage;
class ContributionsPage;
class DemographicPage;
class FamilyFrame;
class MemberScreenState;
class NotesPage;
class OrganizationsPage;
class ProspectInfoPage;
class QComboBox;
class QPushButton;
class QTabWidget;
class ResponsibilitiesFrame;

// "Member/Prospect Entry/Edit": one person of the roll on eight pages, chosen by name, entered,
// edited and saved. Other screens show a person here by asking the program (ScreenRequests::showMember),
// which opens this screen and calls loadMember().
class MemberEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberEntryScreen)

public:
    explicit MemberEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~MemberEntryScreen() override;

    // Chooses the person in the chooser and shows him, after the save question when the shown record has
    // unsaved changes (Cancel keeps it). A person saved elsewhere and not listed yet is listed first; an ID
    // without a row leaves the screen empty.
    void loadMember(qint64 memberId);
    // Reads the shared people list again (the chooser and the relative list show it).
    void reloadNames();
    // Refills every lookup list of the screen; what the shown person has chosen stays chosen wherever it
    // is still offered.
    void reloadListValues();

    // Shows the person chosen in the chooser.
    void showMember();
    // Empties every record control: the state of a new person.
    void clearMember();
    // Checks and writes the shown person (no permission test). Shows what went wrong and answers
    // false when nothing could be saved.
    bool saveMember();
    // "New": an empty person in the church's town, after the save question when the shown record has
    // unsaved changes.
    void newMember();

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

    // The ID of the shown person; 0 for a new one.
    qint64 shownMemberId() const;

    QTabWidget* pages() const { return m_tabs; }
    ContactInfoPage* contactInfoPage() const { return m_contact; }
    DemographicPage* demographicPage() const { return m_demographic; }
    NotesPage* notesPage() const { return m_notes; }
    ChurchInfoPage* churchInfoPage() const { return m_church; }
    ProspectInfoPage* prospectInfoPage() const { return m_prospect; }
    AttendancePage* attendancePage() const { return m_attendance; }
    OrganizationsPage* organizationsPage() const { return m_organizations; }
    ContributionsPage* contributionsPage() const { return m_contributions; }
    FamilyFrame* familyFrame() const { return m_family; }
    ResponsibilitiesFrame* responsibilitiesFrame() const { return m_responsibilities; }
    MemberScreenState& state() const { return *m_state; }

    // The page indexes of the tabbed dialog.
    enum Tab {
        TabContactInfo = 0,
        TabDemographicInfo,
        TabNotes,
        TabChurchInfo,
        TabProspectInfo,
        TabAttendanceInfo,
        TabChurchOrganizations,
        TabContributions
    };

private:
    MemberRecord readRecord() const;
    // Remembers the record as shown, so that later changes can be told apart.
    void takeSnapshot();
    // Sends the user to the first required field left empty, and names it and its page in the status bar.
    void showFirstMissingField();
    void setTown();
    void chooserActivated(int index);
    void saveClicked();
    void saveAndCloseClicked();
    void envelopeLeft();
    void memberDeleted();
    void showLists(const MemberLookupLists& lists);
    void followRename(LookupList list, const QString& oldText, const QString& newText);
    void showEnvelopeInUse(const EnvelopeHolder& holder);
    void newContactClicked();
    void followContactsOf(qint64 prospectId);

    AppContext& m_context;
    MemberStore m_store;
    MemberScreenState* m_state;
    MemberRecord m_snapshot;
    QComboBox* m_chooser;
    QPushButton* m_new;
    QPushButton* m_save;
    QPushButton* m_saveClose;
    QPushButton* m_delete;
    QPushButton* m_exit;
    QTabWidget* m_tabs;
    ContactInfoPage* m_contact;
    DemographicPage* m_demographic;
    NotesPage* m_notes;
    ChurchInfoPage* m_church;
    ProspectInfoPage* m_prospect;
    AttendancePage* m_attendance;
    OrganizationsPage* m_organizations;
    ContributionsPage* m_contributions;
    FamilyFrame* m_family;
    ResponsibilitiesFrame* m_responsibilities;
    bool m_showAgainAfterRefill = false;
};
