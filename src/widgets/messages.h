#pragma once

#include <QList>
#include <QString>

class QWidget;

enum class MessageStyle { Plain, Warning, Critical, YesNo, SaveDiscardCancel };
enum class MessageAnswer { Ok, Yes, No, Save, Discard, Cancel };

// Shows a modal message box over the program; the title defaults to "Kelvane".
MessageAnswer showMessage(const QString& text, MessageStyle style = MessageStyle::Plain, const QString& title = {});

// Shows the text for a while in the status bar of the main window that holds the widget: what just happened,
// told without a box. Nothing is shown for a widget outside a main window.
void showStatus(const QWidget* from, const QString& text);

// Lets tests answer message boxes without showing them and see what was shown.
namespace MessageLog {

struct Shown
{
    QString text;
    QString title;
    MessageStyle style;
};

// From now on boxes are not shown but recorded, and answered from the queue (OK for OK boxes, No for a
// yes/no box and Cancel for a save question when nothing is queued).
void startRecording();
void stopRecording();
void setNextAnswer(MessageAnswer answer);
QList<Shown> takeShown();
bool isRecording();

} // namespace MessageLog
