#include "widgets/phonebox.h"

#include "core/textformat.h"
#include "widgets/controls.h"
#include "widgets/inputchecks.h"
#include "widgets/messages.h"

#include <QFocusEvent>

PhoneBox::PhoneBox(QWidget* parent)
    : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("(###) ###-####"));
    connect(this, &QLineEdit::textEdited, this, [this] { m_reported.clear(); });
    connect(this, &QLineEdit::editingFinished, this, [this] {
        // Opening a menu or switching to another program is no leaving the box.
        if (m_leaving != Qt::PopupFocusReason && m_leaving != Qt::ActiveWindowFocusReason) {
            commit();
        }
    });
}

void PhoneBox::focusOutEvent(QFocusEvent* event)
{
    m_leaving = event->reason();
    QLineEdit::focusOutEvent(event);
    m_leaving.reset();
}

std::optional<QString> PhoneBox::number() const
{
    return parsePhone(text());
}

QString PhoneBox::refusal() const
{
    if (number()) {
        return {};
    }
    return tr("%1: \"%2\" is not a phone number. Type its digits, for example 615 555 1234.")
        .arg(Controls::fieldName(this), text());
}

QString PhoneBox::accept()
{
    const std::optional<QString> stored = number();
    if (!stored) {
        return refusal();
    }
    if (*stored != text()) {
        setText(*stored);
    }
    return {};
}

bool PhoneBox::commit()
{
    const QString message = accept();
    if (message.isEmpty()) {
        return true;
    }
    // Leaving the box for the message box must not report the same text again.
    if (!m_reporting && text() != m_reported) {
        m_reported = text();
        m_reporting = true;
        showMessage(message, MessageStyle::Warning, tr("Not a Phone Number"));
        m_reporting = false;
    }
    return false;
}
