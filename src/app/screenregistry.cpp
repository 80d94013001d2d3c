#include "app/screenregistry.h"

#include "navigators/membernavigatorscreen.h"
#include "shell/mainwindow.h"

void registerAllScreens(MainWindow& window)
{
    window.registerScreen(QStringLiteral("frmMemberNavigator"),
                          [](MainWindow& w) -> QWidget* { return new MemberNavigatorScreen(w.context(), &w); });
}
