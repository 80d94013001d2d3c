#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

// frmAbout: the program's title, version and picture, and a way to start the desktop's system information
// viewer. Below the version text the screen has always shown, a second line names this build (version and
// date), which the caller knows.
class AboutScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutScreen)

public:
    explicit AboutScreen(const QString& build = {}, QWidget* parent = nullptr);

    // Starts the first system information viewer found on the PATH as a program of its own; shows
    // "System Information Is Unavailable At This Time" when none is found or it cannot be started.
    void startSysInfo();

    // The programs tried, in order (desktop system information viewers).
    static QStringList defaultViewers();
    // Tests replace the list; an empty list restores the default.
    static void setViewersForTests(const QStringList& programs);

    // The picture shown beside the title, drawn by the program itself.
    static QPixmap logo(int size);
};
