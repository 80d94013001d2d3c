#include "widgets/messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

namespace {

// How long a status message stays.
constexpr int kStatusMilliseconds = 15000;

// The context under which this file's texts are translated.
class MessagesText
{
    Q_DECLARE_TR_FUNCTIONS(Messages)
};

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

void showStatus(const QWidget* from, const QString& text)
{
    if (auto* window = qobject_cast<QMainWindow*>(from->window())) {
        window->statusBar()->showMessage(text, kStatusMilliseconds);
    }
}

MessageAnswer showMessage(const QString& text, MessageStyle style, const QString& title)
{
    const QString caption = title.isEmpty() ? QStringLiteral("Kelvane") : title;
    Recorder& r = recorder();
    if (r.recording) {
        r.shown.push_back({text, caption, style});
        if (!r.answers.isEmpty()) {
            return r.answers.takeFirst();
        }
        switch (style) {
            case MessageStyle::YesNo:
                return MessageAnswer::No;
            case MessageStyle::SaveDiscardCancel:
                return MessageAnswer::Cancel;
            default:
                return MessageAnswer::Ok;
        }
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
        case MessageStyle::SaveDiscardCancel:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Save);
            box.setEscapeButton(QMessageBox::Cancel);
            // Each answer has its own key: Alt+S, Alt+D, Alt+C (the toolkit gives Discard none).
            box.button(QMessageBox::Save)->setText(MessagesText::tr("&Save"));
            box.button(QMessageBox::Discard)->setText(MessagesText::tr("&Discard"));
            box.button(QMessageBox::Cancel)->setText(MessagesText::tr("&Cancel"));
            switch (box.exec()) {
                case QMessageBox::Save:
                    return MessageAnswer::Save;
                case QMessageBox::Discard:
                    return MessageAnswer::Discard;
                default:
                    return MessageAnswer::Cancel;
            }
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
