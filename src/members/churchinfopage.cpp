#include "members/churchinfopage.h"

#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

ChurchInfoPage::ChurchInfoPage(AppContext& context, std::function<QString()> emailText, QWidget* parent)
    : QWidget(parent)
    , m_emailText(std::move(emailText))
{
    setObjectName(QStringLiteral("pageChurchInfo"));
    m_churchStatus = pickList(this, QStringLiteral("cmbChurchStatus"));
    m_memberSince = switchedDate(this, QStringLiteral("dtMemberSince"), QStringLiteral("chkMemberSince"));
    m_previousChurch = lineEdit(this, QStringLiteral("txtPreviousChurch"), kTextLength);
    m_cameForward = switchedDate(this, QStringLiteral("dtCameForward"), QStringLiteral("chkCameForward"));
    m_baptized = switchedDate(this, QStringLiteral("dtBaptized"), QStringLiteral("chkBaptized"));
    m_letterOut = switchedDate(this, QStringLiteral("dtLetterOut"), QStringLiteral("chkLetterOut"));
    m_deceased = switchedDate(this, QStringLiteral("dtDeceased"), QStringLiteral("chkDeceased"));
    m_ssAttend = pickList(this, QStringLiteral("cmbSSAttend"));
    m_worshipAttend = pickList(this, QStringLiteral("cmbWorshipAttend"));
    m_discAttend = pickList(this, QStringLiteral("cmbDiscAttend"));
    m_sundayEveAttend = pickList(this, QStringLiteral("cmbSundayEveAttend"));
    m_wedAttend = pickList(this, QStringLiteral("cmbWedAttend"));
    m_ssClass = pickList(this, QStringLiteral("cmbSSClass"));
    m_careGroup = pickList(this, QStringLiteral("cmbCareGroup"));
    m_discClass = pickList(this, QStringLiteral("cmbDiscClass"));
    m_wedClass = pickList(this, QStringLiteral("cmbWedClass"));
    m_deacon = pickList(this, QStringLiteral("cmbDeacon"));
    m_newsletterByMail = checkBox(this, QStringLiteral("chkNewMail"), tr("Receive Newsletter Via Mail"));
    m_newsletterByEmail = checkBox(this, QStringLiteral("chkNewEmail"), tr("Receive Newsletter Via E-Mail"));

    selectAllOnFocus(m_previousChurch);
    for (QComboBox* list : {m_churchStatus, m_ssAttend, m_worshipAttend, m_discAttend, m_sundayEveAttend, m_wedAttend,
                            m_ssClass, m_careGroup, m_discClass, m_wedClass}) {
        attachTypeAhead(list, context);
    }
    connect(m_churchStatus, &QComboBox::currentIndexChanged, this, &ChurchInfoPage::applyChurchStatusRule);
    connect(m_newsletterByEmail, &QCheckBox::clicked, this, &ChurchInfoPage::newsletterByEmailClicked);

    auto* fields = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel* caption, QWidget* control, QWidget* extra = nullptr) {
        if (caption) {
            fields->addWidget(caption, row, 0);
        }
        fields->addWidget(control, row, 1, 1, extra ? 1 : 2);
        if (extra) {
            fields->addWidget(extra, row, 2);
        }
        ++row;
    };
    const auto dateRow = [&](const QString& caption, DateSwitch* date) {
        addRow(label(this, caption), date->dateEdit(), date->checkBox());
    };
    addRow(requiredLabel(this, tr("Status"), QStringLiteral("lblChurchStatus")), m_churchStatus);
    dateRow(tr("Member Since"), m_memberSince);
    addRow(label(this, tr("Previous Church")), m_previousChurch);
    dateRow(tr("Came Forward"), m_cameForward);
    dateRow(tr("Baptized"), m_baptized);
    dateRow(tr("Letter Out"), m_letterOut);
    dateRow(tr("Deceased"), m_deceased);
    addRow(nullptr, m_newsletterByMail);
    addRow(nullptr, m_newsletterByEmail);
    fields->setRowStretch(row, 1);

    auto* lists = new QGridLayout;
    row = 0;
    const auto listRow = [&](const QString& caption, QComboBox* list) {
        lists->addWidget(label(this, caption), row, 0);
        lists->addWidget(list, row, 1);
        ++row;
    };
    for (QComboBox* level : {m_ssAttend, m_worshipAttend, m_discAttend, m_sundayEveAttend, m_wedAttend}) {
        showsLookupList(level, LookupList::AttendanceLevels);
    }
    listRow(tr("Sunday School Attendance Level"), m_ssAttend);
    listRow(tr("Worship Service Attendance Level"), m_worshipAttend);
    listRow(tr("Discipleship Training Attendance Level"), m_discAttend);
    listRow(tr("Sunday Evening Service Attendance Level"), m_sundayEveAttend);
    listRow(tr("Wednesday Night Attendance Level"), m_wedAttend);
    listRow(tr("Sunday School Class"), m_ssClass);
    listRow(tr("Care Group Assigned"), m_careGroup);
    listRow(tr("Discipleship Training Class"), m_discClass);
    listRow(tr("Wednesday Night Class"), m_wedClass);
    listRow(tr("Deacon Assigned"), m_deacon);
    lists->setRowStretch(row, 1);
    lists->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(lists, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
}

void ChurchInfoPage::placeResponsibilitiesFrame(QWidget* frame)
{
    static_cast<QVBoxLayout*>(layout())->addWidget(frame, 1);
}

void ChurchInfoPage::setLists(const MemberLookupLists& lists)
{
    refill(m_churchStatus, lists.churchStatuses);
    for (QComboBox* list : {m_ssAttend, m_worshipAttend, m_discAttend, m_sundayEveAttend, m_wedAttend}) {
        refill(list, lists.attendanceLevels);
    }
    refill(m_ssClass, lists.sundaySchoolClasses);
    refill(m_careGroup, lists.careGroups);
    refill(m_discClass, lists.discipleshipClasses);
    refill(m_wedClass, lists.wednesdayNightClasses);
    refill(m_deacon, lists.deacons);
}

void ChurchInfoPage::clear(const QDate& today)
{
    for (QComboBox* list : {m_churchStatus, m_ssAttend, m_worshipAttend, m_discAttend, m_sundayEveAttend, m_wedAttend,
                            m_ssClass, m_careGroup, m_discClass, m_wedClass, m_deacon}) {
        list->setCurrentIndex(-1);
    }
    for (DateSwitch* date : {m_memberSince, m_cameForward, m_baptized, m_letterOut, m_deceased}) {
        date->setDate(std::nullopt, today);
    }
    m_previousChurch->clear();
    m_newsletterByMail->setChecked(false);
    m_newsletterByEmail->setChecked(false);
    applyChurchStatusRule();
}

void ChurchInfoPage::show(const MemberRecord& r)
{
    selectText(m_churchStatus, r.churchStatus);
    m_memberSince->setDate(r.memberSince);
    m_previousChurch->setText(r.previousChurch);
    m_cameForward->setDate(r.cameForward);
    m_baptized->setDate(r.baptized);
    m_letterOut->setDate(r.letterOut);
    m_deceased->setDate(r.deceasedDate);
    m_newsletterByMail->setChecked(r.newsletterByMail);
    m_newsletterByEmail->setChecked(r.newsletterByEmail);
    selectText(m_ssAttend, r.sundaySchoolAttendance);
    selectText(m_worshipAttend, r.worshipAttendance);
    selectText(m_discAttend, r.discipleshipAttendance);
    selectText(m_sundayEveAttend, r.sundayEveningAttendance);
    selectText(m_wedAttend, r.wednesdayNightAttendance);
    selectId(m_ssClass, r.sundaySchoolClass);
    selectId(m_careGroup, r.careGroup);
    selectId(m_discClass, r.discipleshipClass);
    selectId(m_wedClass, r.wednesdayNightClass);
    // A deacon who has since given up the responsibility is not offered, and so not shown.
    selectId(m_deacon, r.deaconId);
    // The status is shown before the dates: its rule opens the fields, then each shown date switches its
    // picker with its box (a date ticks the box and enables the picker, no date leaves both off). Closed
    // fields stay closed, dated or not.
    applyChurchStatusRule();
    if (memberFieldsOpen()) {
        for (DateSwitch* date : {m_memberSince, m_cameForward, m_baptized, m_letterOut, m_deceased}) {
            date->dateEdit()->setEnabled(date->checkBox()->isChecked());
        }
    }
}

void ChurchInfoPage::readInto(MemberRecord& r) const
{
    r.churchStatus = m_churchStatus->currentText();
    r.memberSince = m_memberSince->date();
    r.previousChurch = m_previousChurch->text();
    r.cameForward = m_cameForward->date();
    r.baptized = m_baptized->date();
    r.letterOut = m_letterOut->date();
    r.deceasedDate = m_deceased->date();
    r.newsletterByMail = m_newsletterByMail->isChecked();
    r.newsletterByEmail = m_newsletterByEmail->isChecked();
    r.sundaySchoolAttendance = m_ssAttend->currentText();
    r.worshipAttendance = m_worshipAttend->currentText();
    r.discipleshipAttendance = m_discAttend->currentText();
    r.sundayEveningAttendance = m_sundayEveAttend->currentText();
    r.wednesdayNightAttendance = m_wedAttend->currentText();
    r.sundaySchoolClass = chosenId(m_ssClass);
    r.careGroup = chosenId(m_careGroup);
    r.discipleshipClass = chosenId(m_discClass);
    r.wednesdayNightClass = chosenId(m_wedClass);
    r.deaconId = chosenId(m_deacon);
}

bool ChurchInfoPage::memberFieldsOpenFor(const QString& churchStatus)
{
    return churchStatus == QStringLiteral("Active");
}

bool ChurchInfoPage::memberFieldsOpen() const
{
    return m_churchStatus->currentIndex() >= 0 && memberFieldsOpenFor(m_churchStatus->currentText());
}

void ChurchInfoPage::applyChurchStatusRule()
{
    const bool open = memberFieldsOpen();
    for (DateSwitch* date : {m_memberSince, m_cameForward, m_baptized, m_letterOut, m_deceased}) {
        date->checkBox()->setEnabled(open);
        date->dateEdit()->setEnabled(open);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_previousChurch, m_ssAttend, m_worshipAttend, m_discAttend, m_sundayEveAttend,
                                         m_wedAttend, m_ssClass, m_careGroup, m_discClass, m_wedClass}) {
        control->setEnabled(open);
    }
}

void ChurchInfoPage::newsletterByEmailClicked(bool checked)
{
    if (checked && m_emailText().trimmed().isEmpty()) {
        showMessage(tr("You cannot select Newsletter Via E-Mail unless the member has an E-Mail address entered on "
                       "the Contact tab."),
                    MessageStyle::Plain, tr("No E-Mail Address"));
        m_newsletterByEmail->setChecked(false);
    }
}
