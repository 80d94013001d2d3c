#include "widgets/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

struct Recorder
{
    bool recording = false;
    QList<MessageAnswer> answers;
    QList<MessageLog::Shown> shown;
};

Recorder& recorder()
{
    static Recorder r;
    return r;
}

} // namespace

MessageAnswer showMessage(const QString& text, MessageStyle style, const QString& title)
{
    const QString caption = title.isEmpty() ? QStringLiteral("Kelvane") : title;
    Recorder& r = recorder();
    if (r.recording) {
        r.shown.push_back({text, caption, style});
        if (!r.answers.isEmpty()) {
            return r.answers.takeFirst();
        }
        return style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (style) {
        case MessageStyle::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageStyle::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageStyle::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageStyle::YesNo:
            box.setIcon(QMessageBox::NoIcon);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

namespace MessageLog {

void startRecording()
{
    recorder() = Recorder{};
    recorder().recording = true;
}

void stopRecording()
{
    recorder() = Recorder{};
}

void setNextAnswer(MessageAnswer answer)
{
    recorder().answers.push_back(answer);
}

QList<Shown> takeShown()
{
    return std::exchange(recorder().shown, {});
}

bool isRecording()
{
    return recorder().recording;
}

} // namespace MessageLog
