#include "widgets/inputchecks.h"

#include "widgets/datebox.h"
#include "widgets/gridexport.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/phonebox.h"
#include "widgets/screenhelpers.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>

namespace Controls {

namespace {

// The label before the field in its row of a form, grid or box layout, searched through nested layouts.
const QLabel* labelBefore(const QLayout* layout, const QWidget* field)
{
    if (layout == nullptr) {
        return nullptr;
    }
    if (const auto* form = qobject_cast<const QFormLayout*>(layout)) {
        if (const auto* caption = qobject_cast<const QLabel*>(form->labelForField(const_cast<QWidget*>(field)))) {
            return caption;
        }
    }
    const int index = layout->indexOf(field);
    if (index >= 0) {
        if (const auto* grid = qobject_cast<const QGridLayout*>(layout)) {
            int row = 0;
            int column = 0;
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            for (int c = column - 1; c >= 0; --c) {
                if (const QLayoutItem* item = grid->itemAtPosition(row, c); item != nullptr && item->widget()) {
                    return qobject_cast<const QLabel*>(item->widget());
                }
            }
            return nullptr;
        }
        const QLayoutItem* before = index > 0 ? layout->itemAt(index - 1) : nullptr;
        return before != nullptr ? qobject_cast<const QLabel*>(before->widget()) : nullptr;
    }
    for (int i = 0; i < layout->count(); ++i) {
        if (const QLabel* caption = labelBefore(layout->itemAt(i)->layout(), field)) {
            return caption;
        }
    }
    return nullptr;
}

} // namespace

QString plainCaption(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    text = text.trimmed();
    if (text.endsWith(u':')) {
        text.chop(1);
    }
    return text.trimmed();
}

QString fieldName(const QWidget* field)
{
    if (!field->accessibleName().isEmpty()) {
        return field->accessibleName();
    }
    if (const QWidget* parent = field->parentWidget()) {
        for (const QLabel* caption : parent->findChildren<const QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (caption->buddy() == field) {
                return plainCaption(caption->text());
            }
        }
        if (const QLabel* caption = labelBefore(parent->layout(), field)) {
            return plainCaption(caption->text());
        }
    }
    return field->objectName();
}

std::optional<BadEntry> checkEntries(QWidget* screen)
{
    std::optional<BadEntry> bad;
    for (QWidget* widget : screen->findChildren<QWidget*>()) {
        QString message;
        QString title;
        if (auto* date = qobject_cast<DateBox*>(widget); date != nullptr && date->isEnabled()) {
            message = date->accept();
            title = DateBox::tr("Not a Date");
        } else if (auto* phone = qobject_cast<PhoneBox*>(widget)) {
            message = phone->accept();
            title = PhoneBox::tr("Not a Phone Number");
        }
        if (!message.isEmpty() && !bad) {
            bad = BadEntry{widget, message, title};
        }
    }
    return bad;
}

bool acceptEntries(QWidget* screen)
{
    const std::optional<BadEntry> bad = checkEntries(screen);
    if (!bad) {
        return true;
    }
    showMessage(bad->message, MessageStyle::Warning, bad->title);
    bad->box->setFocus(Qt::OtherFocusReason);
    return false;
}

} // namespace Controls
