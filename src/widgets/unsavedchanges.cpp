#include "widgets/unsavedchanges.h"

#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(UnsavedChanges)
};

// Refuses the screen's close event while the user keeps his changes, and closes the screen on an Escape that
// no box of it used. The key reaches the screen only when its box passes it on; an open drop-down or calendar
// pop-up is a window of its own, so its Escape closes just the pop-up.
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
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                closeScreen(static_cast<QWidget*>(watched));
                return true;
            }
        }
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

// Text typed into one of the screen's date boxes and not taken yet (another date, or text that is no date) is a
// change like any other: Escape, Ctrl+N or the program's end moves no focus, so nothing has taken it. The
// screen's save takes it with the rest, or names the box.
bool holdsTypedDate(RecordEditor& editor)
{
    // Every record editor is a screen; one that is no widget has no boxes.
    const auto* screen = dynamic_cast<const QWidget*>(&editor);
    if (screen == nullptr) {
        return false;
    }
    const QList<DateBox*> boxes = screen->findChildren<DateBox*>();
    return std::any_of(boxes.begin(), boxes.end(), [](const DateBox* box) { return box->holdsTypedChange(); });
}

} // namespace

QString RecordEditor::saveQuestion() const
{
    return Text::tr("Save changes to %1?").arg(recordName());
}

namespace UnsavedChanges {

bool mayLeave(RecordEditor& editor)
{
    if (!holdsTypedDate(editor) && !editor.hasUnsavedChanges()) {
        return true;
    }
    switch (showMessage(editor.saveQuestion(), MessageStyle::SaveDiscardCancel, Text::tr("Unsaved Changes"))) {
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
}

} // namespace UnsavedChanges
