#include "guitest.h"

#include "widgets/datebox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <stdexcept>

namespace GuiTest {

namespace {

QString nameOf(const QObject* object)
{
    const QString name = object->objectName();
    return name.isEmpty() ? QString::fromUtf8(object->metaObject()->className()) : name;
}

} // namespace

void failToFind(const QObject* parent, const QString& name, const char* kind)
{
    if (parent == nullptr) {
        throw std::runtime_error(
            QString("no " + QString::fromUtf8(kind) + " " + name + ": the screen is not there").toStdString());
    }
    const QObject* found = parent->findChild<QObject*>(name);
    const QString what =
        found == nullptr ? QString("no " + QString::fromUtf8(kind) + " " + name + " in " + nameOf(parent))
                         : QString("control " + name + " is a " + QString::fromUtf8(found->metaObject()->className()) +
                                   ", not a " + QString::fromUtf8(kind));
    throw std::runtime_error(what.toStdString());
}

void failToFindWindow(const char* kind)
{
    throw std::runtime_error(QString("no " + QString::fromUtf8(kind) + " is shown").toStdString());
}

QList<QWidget*> shownWindows()
{
    QList<QWidget*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            shown << window;
        }
    }
    return shown;
}

bool has(const QObject* parent, const QString& name)
{
    return parent->findChild<QWidget*>(name) != nullptr;
}

void type(QWidget* box, const QString& text)
{
    if (auto* date = qobject_cast<DateBox*>(box)) {
        box = date->lineEdit();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        edit->clear();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        plain->clear();
    }
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(box, Qt::Key_Return);
        }
        for (const QChar c : lines.at(i)) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, char(c.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
}

void chooseAt(QComboBox* list, int index)
{
    if (index < 0 || index >= list->count()) {
        throw std::runtime_error(
            QString("no entry " + QString::number(index) + " in " + list->objectName()).toStdString());
    }
    list->showPopup();
    QAbstractItemView* view = list->view();
    view->setCurrentIndex(list->model()->index(index, list->modelColumn(), list->rootModelIndex()));
    QTest::keyClick(view, Qt::Key_Return);
    if (list->view()->isVisible()) {
        list->hidePopup();
    }
}

void choose(QComboBox* list, const QString& text)
{
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        throw std::runtime_error(QString("no entry " + text + " in " + list->objectName()).toStdString());
    }
    chooseAt(list, index);
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace GuiTest
