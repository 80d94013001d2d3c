#include "members/demographicpage.h"

#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/listhelpers.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Controls;

DemographicPage::DemographicPage(AppContext& context, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageDemographicInfo"));
    m_placeOfWork = lineEdit(this, QStringLiteral("txtPlaceofWork"), kTextLength);
    m_occupation = lineEdit(this, QStringLiteral("txtOccupation"), kTextLength);
    m_dateOfBirth = switchedDate(this, QStringLiteral("dtDOB"), QStringLiteral("chkDOB"));
    m_gender = pickList(this, QStringLiteral("cmbGender"));
    m_maritalStatus = pickList(this, QStringLiteral("cmbMaritalStatus"));
    m_anniversary = switchedDate(this, QStringLiteral("dtAnnivDate"), QStringLiteral("chkAnnivDate"));
    m_headOfHousehold = checkBox(this, QStringLiteral("chkHOH"), tr("Head of Household"));
    m_mapSection = lineEdit(this, QStringLiteral("txtMapSection"), kTextLength);
    m_hobbies = textBox(this, QStringLiteral("txtHobbies"));
    m_organizations = textBox(this, QStringLiteral("txtOrganizations"));

    for (QLineEdit* edit : {m_placeOfWork, m_occupation, m_mapSection}) {
        selectAllOnFocus(edit);
    }
    attachTypeAhead(m_gender, context);
    attachTypeAhead(m_maritalStatus, context);

    auto* layout = new QGridLayout(this);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* control, QWidget* extra = nullptr) {
        if (!caption.isEmpty()) {
            layout->addWidget(label(this, caption), row, 0);
        }
        layout->addWidget(control, row, 1, 1, extra ? 1 : 2);
        if (extra) {
            layout->addWidget(extra, row, 2);
        }
        ++row;
    };
    addRow(tr("Place of Work"), m_placeOfWork);
    addRow(tr("Occupation"), m_occupation);
    addRow(tr("Date of Birth"), m_dateOfBirth->dateEdit(), m_dateOfBirth->checkBox());
    addRow(tr("Gender"), m_gender);
    addRow(tr("Marital Status"), m_maritalStatus);
    addRow(tr("Anniv. Date"), m_anniversary->dateEdit(), m_anniversary->checkBox());
    addRow({}, m_headOfHousehold);
    addRow(tr("Map Section"), m_mapSection);
    layout->addWidget(label(this, tr("Hobbies")), row, 0, Qt::AlignTop);
    layout->addWidget(m_hobbies, row, 1, 1, 2);
    layout->setRowStretch(row, 1);
    ++row;
    layout->addWidget(label(this, tr("Organizations")), row, 0, Qt::AlignTop);
    layout->addWidget(m_organizations, row, 1, 1, 2);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
}

void DemographicPage::setLists(const MemberLookupLists&)
{
    refill(m_gender, MemberStore::genders());
    refill(m_maritalStatus, MemberStore::maritalStatuses());
}

void DemographicPage::clear(const QDate& today)
{
    m_placeOfWork->clear();
    m_occupation->clear();
    m_dateOfBirth->setDate(std::nullopt, today);
    m_gender->setCurrentIndex(-1);
    m_maritalStatus->setCurrentIndex(-1);
    m_anniversary->setDate(std::nullopt, today);
    m_headOfHousehold->setChecked(false);
    m_mapSection->clear();
    m_hobbies->clear();
    m_organizations->clear();
}

void DemographicPage::show(const MemberRecord& r)
{
    m_placeOfWork->setText(r.placeOfWork);
    m_occupation->setText(r.occupation);
    m_dateOfBirth->setDate(r.dateOfBirth);
    selectText(m_gender, r.gender);
    selectText(m_maritalStatus, r.maritalStatus);
    m_anniversary->setDate(r.anniversaryDate);
    m_headOfHousehold->setChecked(r.headOfHousehold);
    m_mapSection->setText(r.mapSection);
    m_hobbies->setPlainText(r.hobbies);
    m_organizations->setPlainText(r.organizationsNote);
}

void DemographicPage::readInto(MemberRecord& r) const
{
    r.placeOfWork = m_placeOfWork->text();
    r.occupation = m_occupation->text();
    r.dateOfBirth = m_dateOfBirth->date();
    r.gender = m_gender->currentText();
    r.maritalStatus = m_maritalStatus->currentText();
    r.anniversaryDate = m_anniversary->date();
    r.headOfHousehold = m_headOfHousehold->isChecked();
    r.mapSection = m_mapSection->text();
    r.hobbies = m_hobbies->toPlainText();
    r.organizationsNote = m_organizations->toPlainText();
}
