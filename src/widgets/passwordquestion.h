#pragma once

#include <QString>

#include <optional>

// Asks for a password that is used once and kept nowhere (the mail server's). While message boxes are recorded
// for a test (MessageLog), the question is answered from the queue instead: nothing queued is Cancel.
namespace PasswordQuestion {

// Nothing when the user cancels.
std::optional<QString> ask(const QString& text, const QString& title);
void setNextAnswer(std::optional<QString> password);
// The questions asked while recording, oldest first; taking them empties the list.
QStringList takeAsked();

} // namespace PasswordQuestion
