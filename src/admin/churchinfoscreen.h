#pragma once

#include "widgets/unsavedchanges.h"

#include <QStringList>
#include <QWidget>

class AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;
class PhoneBox;

// "Setup": the church's name, address, phones, e-mail, website, the type-ahead delay and the mail server that
// sends statements. Save And Close writes the first church row (adding it when there is none) and applies the
// values at once; every other way of leaving asks about typed changes first.
class ChurchInfoScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChurchInfoScreen)

public:
    explicit ChurchInfoScreen(AppContext& context, QWidget* parent = nullptr);
    ~ChurchInfoScreen() override;

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

private:
    void buildControls();
    void loadChurchFields();
    // The mail server statements are sent through; its password is asked when sending and never stored.
    QWidget* buildMailServerBox();
    void loadMailServer();
    // The delay is checked when its box is left for another control of the screen (not for Exit or when
    // the window goes): a refusal puts the focus back.
    void focusChanged(QWidget* old, QWidget* now);
    bool delayAccepted();
    // Every entry as typed, to tell a change from what was loaded or saved.
    QStringList entries() const;
    void saveAndClose();

    AppContext& m_context;
    QLineEdit* m_company = nullptr;
    QLineEdit* m_address1 = nullptr;
    QLineEdit* m_address2 = nullptr;
    QLineEdit* m_city = nullptr;
    QComboBox* m_state = nullptr;
    QLineEdit* m_zip = nullptr;
    PhoneBox* m_phone = nullptr;
    PhoneBox* m_fax = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_website = nullptr;
    QLineEdit* m_delay = nullptr;
    QLineEdit* m_smtpHost = nullptr;
    QLineEdit* m_smtpPort = nullptr;
    QComboBox* m_smtpSecurity = nullptr;
    QLineEdit* m_smtpUser = nullptr;
    QLineEdit* m_smtpSender = nullptr;
    QPushButton* m_exit = nullptr;
    bool m_checkingDelay = false;
    QStringList m_shown;
};
