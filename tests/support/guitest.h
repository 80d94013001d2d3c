#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QComboBox;

// What a test does on a screen as its user would: find a control by its object name, type into it,
// choose a list entry, click a button. A control that is not there stops the test with its name.
namespace GuiTest {

// Stops the test: there is no parent, nothing under it is named so, or what is has another kind than asked for.
[[noreturn]] void failToFind(const QObject* parent, const QString& name, const char* kind);
// Stops the test: no shown window is of the kind asked for.
[[noreturn]] void failToFindWindow(const char* kind);
// The windows shown now, main window and dialogs alike.
QList<QWidget*> shownWindows();

// The control (or action) of this kind with this object name under the parent, at any depth.
template <typename T>
T* find(const QObject* parent, const QString& name)
{
    if (T* control = parent != nullptr ? parent->findChild<T*>(name) : nullptr) {
        return control;
    }
    failToFind(parent, name, T::staticMetaObject.className());
}

// Whether a control under the parent has this object name; for checking a list of names in one go.
bool has(const QObject* parent, const QString& name);

// Every control of this kind under the parent, named or not.
template <typename T>
QList<T*> all(const QObject* parent)
{
    return parent->findChildren<T*>();
}

// The first control of this kind under the parent, or nullptr when it has none: for checks that go over
// screens of every shape (some with pages, some without).
template <typename T>
T* firstOf(const QObject* parent)
{
    return parent->findChild<T*>();
}

// The shown window of this kind, such as a dialog the program opened over the main window.
template <typename T>
T* window()
{
    for (QWidget* shown : shownWindows()) {
        if (T* window = qobject_cast<T*>(shown)) {
            return window;
        }
    }
    failToFindWindow(T::staticMetaObject.className());
}

// Types the text key by key into the box (a date box's text box takes the keys), replacing what it held.
// Line breaks are typed as Return; characters beyond ASCII arrive as text, as an input method gives them.
void type(QWidget* box, const QString& text);
// Chooses the entry with exactly this text through the list's own drop-down: opened, the entry highlighted,
// Enter pressed, so the list tells its listeners what a user's choice tells them. Fails when no entry has
// the text.
void choose(QComboBox* list, const QString& text);
// The same for the entry at a position.
void chooseAt(QComboBox* list, int index);
void click(QAbstractButton* button);

} // namespace GuiTest
