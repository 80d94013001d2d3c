#pragma once

#include <QList>
#include <QString>

class QWidget;

enum class MessageStyle { Plain, Warning, Critical, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Shows a modal message box over the program; the title defaults to "Kelvane".
MessageAnswer showMessage(const QString& text, MessageStyle style = MessageStyle::Plain, const QString& title = {});

// Lets tests answer message boxes without showing them and see what was shown.
namespace MessageLog {

struct Shown
{
    QString text;
    QString title;
    MessageStyle style;
};

// From now on boxes are not shown but recorded, and answered from the queue
// (OK for OK boxes, and No for a yes/no box when nothing is queued).
void startRecording();
void stopRecording();
void setNextAnswer(MessageAnswer answer);
QList<Shown> takeShown();
bool isRecording();

} // namespace MessageLog
