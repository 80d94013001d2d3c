#pragma once

#include <QLineEdit>

#include <optional>

// A phone box: takes a number typed with any punctuation and, on Return or when the box is left, shows it
// as it is stored ("615.555.1234" becomes "(615) 555-1234"; see parsePhone). Text that is no phone number is
// reported with a message naming the box and stays in the box.
class PhoneBox final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PhoneBox)

public:
    explicit PhoneBox(QWidget* parent = nullptr);

    // The number as it is stored, or nothing while the box holds text that is no phone number.
    std::optional<QString> number() const;
    // The message for text that is no phone number, naming the box; empty when the box holds a number.
    QString refusal() const;
    // Shows a number in its stored form and returns nothing, or returns the message for text that is no
    // phone number (not shown).
    QString accept();
    // Like accept, with the message shown (once per text); true when the box holds a number.
    bool commit();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_reported;
    bool m_reporting = false;
    // Why the box is losing the focus, while it does.
    std::optional<Qt::FocusReason> m_leaving;
};
