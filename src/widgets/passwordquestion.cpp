#include "widgets/passwordquestion.h"

#include "widgets/messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QList>
#include <QStringList>

namespace {

struct Queue
{
    QList<std::optional<QString>> answers;
    QStringList asked;
};

Queue& queue()
{
    static Queue q;
    return q;
}

} // namespace

namespace PasswordQuestion {

std::optional<QString> ask(const QString& text, const QString& title)
{
    if (MessageLog::isRecording()) {
        queue().asked << text;
        return queue().answers.isEmpty() ? std::nullopt : queue().answers.takeFirst();
    }
    bool ok = false;
    const QString password =
        QInputDialog::getText(QApplication::activeWindow(), title, text, QLineEdit::Password, {}, &ok);
    return ok ? std::optional(password) : std::nullopt;
}

void setNextAnswer(std::optional<QString> password)
{
    queue().answers.push_back(std::move(password));
}

QStringList takeAsked()
{
    return std::exchange(queue().asked, {});
}

} // namespace PasswordQuestion
