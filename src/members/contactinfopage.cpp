#include "members/contactinfopage.h"

#include "core/fileutil.h"
#include "core/textformat.h"
#include "members/memberpicture.h"
#include "members/memberscreenstate.h"
#include "services/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/filedialogs.h"
#include "widgets/guardedaction.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/phonebox.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

ContactInfoPage::ContactInfoPage(AppContext& context, MemberScreenState& state, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_screenState(state)
{
    setObjectName(QStringLiteral("pageContactInfo"));
    m_memberId = lineEdit(this, QStringLiteral("txtMemberID"), kTextLength);
    makeDisplayOnly(m_memberId);
    m_memberStatus = pickList(this, QStringLiteral("cmbMemberStatus"));
    m_title = pickList(this, QStringLiteral("cmbTitle"));
    showsLookupList(m_title, LookupList::Titles);
    m_firstName = lineEdit(this, QStringLiteral("txtFName"), kTextLength);
    m_middleName = lineEdit(this, QStringLiteral("txtMName"), kTextLength);
    m_lastName = lineEdit(this, QStringLiteral("txtLName"), kTextLength);
    m_address1 = lineEdit(this, QStringLiteral("txtAddress1"), kTextLength);
    m_address2 = lineEdit(this, QStringLiteral("txtAddress2"), kTextLength);
    m_city = lineEdit(this, QStringLiteral("txtCity"), kTextLength);
    m_state = pickList(this, QStringLiteral("cmbState"));
    m_state->setMinimumContentsLength(4);
    m_zip = lineEdit(this, QStringLiteral("txtZip"), kTextLength);
    m_homePhone = phoneBox(this, QStringLiteral("txtHomePhone"));
    m_cell = phoneBox(this, QStringLiteral("txtCell"));
    m_workPhone = phoneBox(this, QStringLiteral("txtWorkPhone"));
    m_email = lineEdit(this, QStringLiteral("txtEmail"), kTextLength);

    for (QLineEdit* edit :
         std::initializer_list<QLineEdit*>{m_firstName, m_middleName, m_lastName, m_address1, m_address2, m_city, m_zip,
                                           m_email, m_homePhone, m_cell, m_workPhone}) {
        selectAllOnFocus(edit);
    }
    for (QComboBox* list : {m_memberStatus, m_title, m_state}) {
        attachTypeAhead(list, m_context);
    }

    auto* fields = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel* caption, QWidget* control) {
        fields->addWidget(caption, row, 0);
        fields->addWidget(control, row, 1, 1, 2);
        ++row;
    };
    addRow(label(this, tr("ID")), m_memberId);
    addRow(requiredLabel(this, tr("Status"), QStringLiteral("lblMemberStatus")), m_memberStatus);
    addRow(label(this, tr("Title")), m_title);
    addRow(requiredLabel(this, tr("First Name"), QStringLiteral("lblFName")), m_firstName);
    addRow(label(this, tr("Middle Name")), m_middleName);
    addRow(requiredLabel(this, tr("Last Name"), QStringLiteral("lblLName")), m_lastName);
    addRow(label(this, tr("Address1")), m_address1);
    addRow(label(this, tr("Address2")), m_address2);
    addRow(label(this, tr("City")), m_city);
    fields->addWidget(label(this, tr("State/Zip")), row, 0);
    fields->addWidget(m_state, row, 1);
    fields->addWidget(m_zip, row, 2);
    ++row;
    addRow(label(this, tr("Home Phone")), m_homePhone);
    addRow(label(this, tr("Cell")), m_cell);
    addRow(label(this, tr("Work Phone")), m_workPhone);
    addRow(label(this, tr("Email")), m_email);
    fields->setRowStretch(row, 1);

    QGroupBox* pictureFrame = frame(this, QStringLiteral("framePicture"));
    m_picture = label(pictureFrame, {}, QStringLiteral("imgPic"));
    m_picture->setFixedSize(MemberPicture::kLongerSide, MemberPicture::kLongerSide);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_loadPicture = new QPushButton(tr("Load Pict&ure"), pictureFrame);
    m_loadPicture->setObjectName(QStringLiteral("btnLoadPic"));
    auto* pictureLayout = new QVBoxLayout(pictureFrame);
    pictureLayout->addWidget(m_picture, 0, Qt::AlignHCenter);
    pictureLayout->addWidget(m_loadPicture);
    pictureLayout->addStretch();
    Guard::connect(m_loadPicture, &QPushButton::clicked, this, m_loadPicture->text(), [this] { loadPicture(); });

    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addWidget(pictureFrame, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
}

void ContactInfoPage::placeFamilyFrame(QWidget* frame)
{
    static_cast<QVBoxLayout*>(layout())->addWidget(frame, 1);
}

void ContactInfoPage::setLists(const MemberLookupLists& lists)
{
    refill(m_memberStatus, lists.memberStatuses);
    refill(m_title, lists.titles, QStringLiteral(" "));
    refill(m_state, lists.states, QStringLiteral(" "));
}

void ContactInfoPage::clear()
{
    for (QComboBox* list : {m_memberStatus, m_state, m_title}) {
        list->setCurrentIndex(-1);
    }
    for (QLineEdit* edit :
         std::initializer_list<QLineEdit*>{m_memberId, m_firstName, m_middleName, m_lastName, m_address1, m_address2,
                                           m_city, m_zip, m_homePhone, m_cell, m_workPhone, m_email}) {
        edit->clear();
    }
    m_picture->clear();
}

void ContactInfoPage::show(const MemberRecord& r)
{
    m_memberId->setText(QString::number(r.id));
    selectText(m_memberStatus, r.status);
    m_firstName->setText(r.firstName);
    m_middleName->setText(r.middleName);
    m_lastName->setText(r.lastName);
    selectText(m_title, r.title);
    m_address1->setText(r.address1);
    m_address2->setText(r.address2);
    m_city->setText(r.city);
    selectText(m_state, r.state);
    m_zip->setText(r.zip);
    m_homePhone->setText(formatPhone(r.phone));
    m_cell->setText(formatPhone(r.cell));
    m_workPhone->setText(formatPhone(r.workPhone));
    m_email->setText(r.email);
    // A stored name whose file is missing shows no picture and no message.
    const QString path = m_context.config().pictureFolder + r.picture;
    if (!r.picture.isEmpty() && fileExists(path)) {
        showPicture(MemberPicture::read(path));
    }
}

void ContactInfoPage::readInto(MemberRecord& r) const
{
    r.status = m_memberStatus->currentText();
    r.firstName = m_firstName->text();
    r.middleName = m_middleName->text();
    r.lastName = m_lastName->text();
    r.title = m_title->currentText();
    r.address1 = m_address1->text();
    r.address2 = m_address2->text();
    r.city = m_city->text();
    r.state = m_state->currentText();
    r.zip = m_zip->text();
    // A save has the toolkit check first that every phone box holds a number (acceptEntries), and Clone
    // Address checks the home phone: text that is none is never written.
    r.phone = m_homePhone->number().value_or(m_homePhone->text());
    r.cell = m_cell->number().value_or(m_cell->text());
    r.workPhone = m_workPhone->number().value_or(m_workPhone->text());
    r.email = m_email->text();
}

void ContactInfoPage::setTown(const QString& city, const QString& state, const QString& zip)
{
    m_city->setText(city);
    selectText(m_state, state);
    m_zip->setText(zip);
}

void ContactInfoPage::showMemberId(qint64 id)
{
    m_memberId->setText(id > 0 ? QString::number(id) : QString());
}

std::optional<HouseholdAddress> ContactInfoPage::addressOnScreen()
{
    if (!m_homePhone->commit()) {
        return std::nullopt;
    }
    MemberRecord onScreen;
    readInto(onScreen);
    return HouseholdAddress{onScreen.address1, onScreen.address2, onScreen.city,
                            onScreen.state,    onScreen.zip,      onScreen.phone};
}

void ContactInfoPage::loadPicture()
{
    const QString fileName = FileDialogs::getOpenFileName(this, tr("Select Image"),
                                                          MemberPicture::dialogFilters().join(QStringLiteral(";;")), {},
                                                          MemberPicture::allImagesFilter());
    if (fileName.isEmpty()) {
        return;
    }
    QString error;
    QImage image;
    {
        BusyCursor busy;
        image = MemberPicture::read(fileName, &error);
    }
    if (image.isNull()) {
        showMessage(tr("The file %1 cannot be shown as a picture (%2). The picture was not changed.")
                        .arg(QDir::toNativeSeparators(fileName), error),
                    MessageStyle::Warning, tr("Load Picture"));
        return;
    }
    const QString extension = MemberPicture::extensionOf(fileName);
    PendingPicture picture{MemberPicture::scaled(image), extension.isEmpty() ? QStringLiteral("png") : extension};
    showPicture(picture.image);
    m_screenState.setPendingPicture(std::move(picture));
}

void ContactInfoPage::showPicture(const QImage& image)
{
    if (image.isNull()) {
        m_picture->clear();
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(image));
}
