#include "guitest.h"

#include "widgets/datebox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace GuiTest {

QWidget* findWidget(const QWidget* screen, const QString& name)
{
    auto* control = screen->findChild<QWidget*>(name);
    if (control == nullptr) {
        throw std::runtime_error(QString("no control " + name).toStdString());
    }
    return control;
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
