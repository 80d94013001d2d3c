#include "window/keyboardshortcutsscreen.h"

#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/screenhelpers.h"
#include "window/keyguide.h"
#include "window/mainwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString cell(const QString& text, const char* tag = "td")
{
    const QString name = QString::fromLatin1(tag);
    return u'<' + name + u'>' + text.toHtmlEscaped() + QStringLiteral("</") + name + u'>';
}

QString asHtml(const QList<KeyGuideSection>& sections)
{
    QString html;
    for (const KeyGuideSection& section : sections) {
        // The page column only for a screen with pages.
        const bool pages = std::any_of(section.entries.cbegin(), section.entries.cend(),
                                       [](const KeyGuideEntry& entry) { return !entry.page.isEmpty(); });
        html += QStringLiteral("<h3>") + section.title.toHtmlEscaped() + QStringLiteral("</h3>");
        html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\"><tr>") +
                cell(KeyboardShortcutsScreen::tr("Keys"), "th") + cell(KeyboardShortcutsScreen::tr("Reaches"), "th") +
                (pages ? cell(KeyboardShortcutsScreen::tr("On the page"), "th") : QString()) + QStringLiteral("</tr>");
        for (const KeyGuideEntry& entry : section.entries) {
            html += QStringLiteral("<tr>") + cell(entry.keys) + cell(entry.target) +
                    (pages ? cell(entry.page) : QString()) + QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    return html;
}

} // namespace

KeyboardShortcutsScreen::KeyboardShortcutsScreen(MainWindow& window, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Keyboard Shortcuts"));
    auto* intro =
        Controls::label(this, tr("Alt with the underlined letter of a button, a page or a box's label works on the "
                                 "screen in front; Alt with a menu's letter opens the menu, and the letters of "
                                 "its entries choose them."));
    intro->setWordWrap(true);
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("txtShortcuts"));
    {
        const BusyCursor busy;
        text->setHtml(asHtml(KeyGuide::gather(window)));
    }
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(text, 1);
    layout->addLayout(Controls::buttonRow({exit}));
}

QSize KeyboardShortcutsScreen::sizeHint() const
{
    return {760, 600};
}
