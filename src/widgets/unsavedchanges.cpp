#include "widgets/unsavedchanges.h"

#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QCloseEvent>
#include <QShortcut>
#include <QWidget>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(UnsavedChanges)
};

// Refuses the screen's close event while the user keeps his changes.
class CloseFilter final : public QObject
{
public:
    CloseFilter(QWidget* screen, RecordEditor& editor)
        : QObject(screen)
        , m_editor(editor)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            bool leave = false;
            Guard::run(Text::tr("Close"), [this, &leave] { leave = UnsavedChanges::mayLeave(m_editor); });
            if (!leave) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    RecordEditor& m_editor;
};

} // namespace

namespace UnsavedChanges {

bool mayLeave(RecordEditor& editor)
{
    if (!editor.hasUnsavedChanges()) {
        return true;
    }
    switch (showMessage(Text::tr("Save changes to %1?").arg(editor.recordName()), MessageStyle::SaveDiscardCancel,
                        Text::tr("Unsaved Changes"))) {
        case MessageAnswer::Save:
            return editor.saveRecord();
        case MessageAnswer::Discard:
            return true;
        default:
            return false;
    }
}

void guardClose(QWidget* screen, RecordEditor& editor)
{
    screen->installEventFilter(new CloseFilter(screen, editor));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), screen);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, screen, [screen] { closeScreen(screen); });
}

} // namespace UnsavedChanges
