#include "admin/churchinfoscreen.h"

#include "admin/churchstore.h"
#include "core/changenotifier.h"
#include "data/permission.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "services/mailserver.h"
#include "services/permissions.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/permissioncheck.h"
#include "widgets/phonebox.h"
#include "widgets/screenhelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

ChurchInfoScreen::ChurchInfoScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    setWindowTitle(tr("Setup"));
    const BusyCursor busy;
    buildControls();
    UnsavedChanges::guardClose(this, *this);
    refill(m_state, LookupStore(m_context.db()).texts(LookupList::States));
    loadChurchFields();
}

ChurchInfoScreen::~ChurchInfoScreen() = default;

void ChurchInfoScreen::buildControls()
{
    m_company = lineEdit(this, QStringLiteral("txtCompany"), kTextLength);
    m_address1 = lineEdit(this, QStringLiteral("txtAddress1"), kTextLength);
    m_address2 = lineEdit(this, QStringLiteral("txtAddress2"), kTextLength);
    m_city = lineEdit(this, QStringLiteral("txtCity"), kTextLength);
    m_state = pickList(this, QStringLiteral("cmbState"));
    m_zip = lineEdit(this, QStringLiteral("txtZip"), kTextLength);
    m_phone = phoneBox(this, QStringLiteral("txtPhone"));
    m_fax = phoneBox(this, QStringLiteral("txtFax"));
    m_email = lineEdit(this, QStringLiteral("txtEmail"), kTextLength);
    m_website = lineEdit(this, QStringLiteral("txtWebsite"), kTextLength);
    m_delay = lineEdit(this, QStringLiteral("txtKeyPressDelay"), kTextLength);
    for (QLineEdit* box : {m_company, m_address1, m_address2, m_city, m_zip, static_cast<QLineEdit*>(m_phone),
                           static_cast<QLineEdit*>(m_fax), m_email, m_website}) {
        selectAllOnFocus(box);
    }

    auto* grid = new QGridLayout;
    const auto place = [this, grid](int row, int column, QLabel* label, QWidget* field) {
        label->setBuddy(field);
        grid->addWidget(label, row, column * 2, Qt::AlignRight);
        grid->addWidget(field, row, column * 2 + 1);
    };
    // The church's name heads every report: its row spans the screen, wide enough for the longest name.
    auto* nameLabel = requiredLabel(this, tr("Name"), QStringLiteral("lblCompany"));
    nameLabel->setBuddy(m_company);
    grid->addWidget(nameLabel, 0, 0, Qt::AlignRight);
    grid->addWidget(m_company, 0, 1, 1, 3);
    m_company->setMinimumWidth(m_company->fontMetrics().horizontalAdvance(QString(kTextLength, u'n')) +
                               m_company->fontMetrics().averageCharWidth() * 2);
    place(1, 0, label(this, tr("Address1")), m_address1);
    place(2, 0, label(this, tr("Address2")), m_address2);
    place(3, 0, label(this, tr("City")), m_city);
    place(4, 0, label(this, tr("State")), m_state);
    place(5, 0, label(this, tr("Zip")), m_zip);
    place(1, 1, label(this, tr("Phone")), m_phone);
    place(2, 1, label(this, tr("Fax")), m_fax);
    place(3, 1, label(this, tr("Email")), m_email);
    place(4, 1, label(this, tr("Website")), m_website);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(m_delay);
    delayRow->addWidget(label(this, tr("(Seconds)")));
    auto* delayLabel = label(this, tr("Keypress Delay"));
    delayLabel->setBuddy(m_delay);
    grid->addWidget(delayLabel, 5, 2, Qt::AlignRight);
    grid->addLayout(delayRow, 5, 3);

    auto* save = button(this, QStringLiteral("btnSave"), tr("&Save And Close"));
    m_exit = button(this, QStringLiteral("btnExit"), tr("E&xit"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buildMailServerBox());
    layout->addStretch();
    layout->addLayout(buttonRow({save, m_exit}));

    Guard::connect(save, &QPushButton::clicked, this, tr("Save the church information"), [this] { saveAndClose(); });
    connect(m_exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) { focusChanged(old, now); });
}

QWidget* ChurchInfoScreen::buildMailServerBox()
{
    auto* box = frame(this, QStringLiteral("fraMailServer"), tr("Mail Server for Statements"));
    m_smtpHost = lineEdit(box, QStringLiteral("txtSmtpHost"), 255);
    m_smtpPort = lineEdit(box, QStringLiteral("txtSmtpPort"), 5);
    m_smtpSecurity = pickList(box, QStringLiteral("cmbSmtpSecurity"));
    // In the order of MailServer::Security.
    m_smtpSecurity->addItems({tr("None"), tr("STARTTLS"), tr("TLS")});
    m_smtpUser = lineEdit(box, QStringLiteral("txtSmtpUser"), 255);
    m_smtpSender = lineEdit(box, QStringLiteral("txtSmtpSender"), 255);
    auto* grid = new QGridLayout(box);
    const auto place = [box, grid](int row, int column, const QString& caption, QWidget* field) {
        QLabel* captionLabel = label(box, caption);
        captionLabel->setBuddy(field);
        grid->addWidget(captionLabel, row, column * 2, Qt::AlignRight);
        grid->addWidget(field, row, column * 2 + 1);
    };
    place(0, 0, tr("Server"), m_smtpHost);
    place(0, 1, tr("Port"), m_smtpPort);
    place(1, 0, tr("User"), m_smtpUser);
    place(1, 1, tr("Security"), m_smtpSecurity);
    place(2, 0, tr("Sender address"), m_smtpSender);
    grid->addWidget(label(box, tr("The password is asked each time statements are sent; it is never stored.")), 3, 0, 1,
                    4);
    return box;
}

void ChurchInfoScreen::loadMailServer()
{
    const MailServer server = MailServer::load(m_context.db());
    m_smtpHost->setText(server.host);
    m_smtpPort->setText(QString::number(server.port));
    m_smtpSecurity->setCurrentIndex(int(server.security));
    m_smtpUser->setText(server.userName);
    m_smtpSender->setText(server.sender);
}

void ChurchInfoScreen::loadChurchFields()
{
    loadMailServer();
    const std::optional<ChurchInfo> church = ChurchInfo::load(m_context.db());
    const ChurchInfo shown = church.value_or(ChurchInfo{});
    m_company->setText(shown.name);
    m_email->setText(shown.email);
    m_website->setText(shown.website);
    m_address1->setText(shown.address1);
    m_address2->setText(shown.address2);
    m_city->setText(shown.city);
    selectText(m_state, shown.state);
    m_zip->setText(shown.zip);
    m_phone->setText(shown.phone);
    m_fax->setText(shown.fax);
    m_delay->setText(church && shown.keyPressDelay != 0 ? QLocale().toString(shown.keyPressDelay) : QString());
    m_shown = entries();
}

void ChurchInfoScreen::focusChanged(QWidget* old, QWidget* now)
{
    if (old != m_delay || now == nullptr || now == m_exit || !isAncestorOf(now) || m_checkingDelay) {
        return;
    }
    delayAccepted();
}

bool ChurchInfoScreen::delayAccepted()
{
    if (ChurchStore::parseDelay(m_delay->text())) {
        return true;
    }
    m_checkingDelay = true;
    showMessage(ChurchStore::delayMessage(), MessageStyle::Plain, ChurchStore::delayTitle());
    m_delay->setFocus();
    m_delay->selectAll();
    m_checkingDelay = false;
    return false;
}

QStringList ChurchInfoScreen::entries() const
{
    // A phone number counts as it would be stored: leaving its box only rewrites it in the pattern.
    const auto phone = [](const PhoneBox* box) { return box->number().value_or(box->text()); };
    return {m_company->text(),
            m_address1->text(),
            m_address2->text(),
            m_city->text(),
            m_state->currentIndex() >= 0 ? m_state->currentText() : QString(),
            m_zip->text(),
            phone(m_phone),
            phone(m_fax),
            m_email->text(),
            m_website->text(),
            m_delay->text(),
            m_smtpHost->text(),
            m_smtpPort->text(),
            QString::number(m_smtpSecurity->currentIndex()),
            m_smtpUser->text(),
            m_smtpSender->text()};
}

bool ChurchInfoScreen::hasUnsavedChanges() const
{
    return entries() != m_shown;
}

QString ChurchInfoScreen::recordName() const
{
    const QString name = m_company->text().trimmed();
    return name.isEmpty() ? tr("the church information") : name;
}

bool ChurchInfoScreen::saveRecord()
{
    if (!checkPermission(m_context, Permission::ChurchInfo, Refusal::Save)) {
        return false;
    }
    if (const QString problem = ChurchStore::checkName(m_company->text()); !problem.isEmpty()) {
        showMessage(problem, MessageStyle::Plain, ChurchStore::requiredTitle());
        m_company->setFocus();
        return false;
    }
    if (!acceptEntries(this) || !delayAccepted()) {
        return false;
    }
    bool portRead = false;
    const int port = m_smtpPort->text().trimmed().toInt(&portRead);
    if (!m_smtpHost->text().trimmed().isEmpty() && (!portRead || port < 1 || port > 65535)) {
        showMessage(tr("The mail server's Port must be a number from 1 to 65535."), MessageStyle::Plain,
                    tr("Mail Server for Statements"));
        m_smtpPort->setFocus();
        return false;
    }
    MailServer server;
    server.host = m_smtpHost->text();
    server.port = portRead ? port : MailServer().port;
    server.security = MailServer::Security(m_smtpSecurity->currentIndex());
    server.userName = m_smtpUser->text();
    server.sender = m_smtpSender->text();
    ChurchInfo church;
    church.name = m_company->text();
    church.address1 = m_address1->text();
    church.address2 = m_address2->text();
    church.city = m_city->text();
    church.state = m_state->currentIndex() >= 0 ? m_state->currentText() : QString();
    church.zip = m_zip->text();
    church.phone = m_phone->number().value_or(QString());
    church.fax = m_fax->number().value_or(QString());
    church.email = m_email->text();
    church.website = m_website->text();
    church.keyPressDelay = *ChurchStore::parseDelay(m_delay->text());
    ChurchStore(m_context.db()).save(church);
    server.save(m_context.db());
    m_shown = entries();
    // The new heading and type-ahead delay apply at once.
    m_context.reloadChurch();
    emit m_context.changes().churchChanged();
    emit m_context.requests().showStatus(tr("Saved the church information"));
    return true;
}

void ChurchInfoScreen::saveAndClose()
{
    if (saveRecord()) {
        closeScreen(this);
    }
}
