#pragma once

#include <QString>
#include <QWidget>

#include <stdexcept>

class QAbstractButton;
class QComboBox;

// What a test does on a screen as its user would: find a control by its object name, type into it,
// choose a list entry, click a button. A control that is not there stops the test with its name.
namespace GuiTest {

QWidget* findWidget(const QWidget* screen, const QString& name);

template <typename T>
T* find(const QWidget* screen, const QString& name)
{
    T* control = qobject_cast<T*>(findWidget(screen, name));
    if (control == nullptr) {
        throw std::runtime_error(QString("control " + name + " is of another kind").toStdString());
    }
    return control;
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
