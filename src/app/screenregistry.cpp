#include "app/screenregistry.h"

#include "members/memberentryscreen.h"
#include "navigators/membernavigatorscreen.h"
#include "shell/aboutscreen.h"
#include "shell/loginscreen.h"
#include "shell/mainwindow.h"

void registerAllScreens(MainWindow& window)
{
    window.registerScreen(QStringLiteral("frmLogin"), [](MainWindow& w) { return new LoginScreen(w); });
    window.registerScreen(QStringLiteral("frmAbout"), [](MainWindow&) { return new AboutScreen; });
    window.registerScreen(QStringLiteral("frmMemberEntry"),
                          [](MainWindow& w) -> QWidget* { return new MemberEntryScreen(w.context(), &w); });
    window.registerScreen(QStringLiteral("frmMemberNavigator"),
                          [](MainWindow& w) -> QWidget* { return new MemberNavigatorScreen(w.context(), &w); });
}
