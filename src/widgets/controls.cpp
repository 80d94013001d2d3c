#include "widgets/controls.h"

#include "widgets/pairedlist.h"
#include "widgets/screenhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QTableView>

namespace Controls {

QLineEdit* lineEdit(QWidget* parent, const QString& name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (maxLength > 0) {
        edit->setMaxLength(maxLength);
    }
    return edit;
}

QPlainTextEdit* textBox(QWidget* parent, const QString& name)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setTabChangesFocus(true);
    return edit;
}

QComboBox* pickList(QWidget* parent, const QString& name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(12);
    list->setMaxVisibleItems(20);
    // Every entry is one line of text: the drop-down need not measure each of thousands of names.
    if (auto* view = qobject_cast<QListView*>(list->view())) {
        view->setUniformItemSizes(true);
    }
    return list;
}

namespace {

class DropDownBelowStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void dropDownBelow(QComboBox* list)
{
    auto* style = new DropDownBelowStyle;
    style->setParent(list);
    list->setStyle(style);
}

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QDateEdit* datePicker(QWidget* parent, const QString& name)
{
    auto* date = new QDateEdit(parent);
    date->setObjectName(name);
    date->setCalendarPopup(true);
    // The locale's short form, always with a four-digit year.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    date->setDisplayFormat(format);
    return date;
}

DateSwitch* switchedDate(QWidget* parent, const QString& dateName, const QString& checkName)
{
    QDateEdit* date = datePicker(parent, dateName);
    QCheckBox* check = checkBox(parent, checkName, QStringLiteral("<--"));
    return new DateSwitch(check, date);
}

QTableView* grid(QWidget* parent, const QString& name)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    return view;
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return box;
}

QLabel* label(QWidget* parent, const QString& text, const QString& name)
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) {
        l->setObjectName(name);
    }
    return l;
}

QLabel* requiredLabel(QWidget* parent, const QString& text, const QString& name)
{
    QLabel* l = label(parent, text, name);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    l->setPalette(palette);
    return l;
}

void refill(QComboBox* list, const QStringList& items, const std::optional<QString>& firstEntry)
{
    const bool hadChoice = list->currentIndex() >= 0;
    const QString chosen = list->currentText();
    const QSignalBlocker blocker(list);
    list->clear();
    if (firstEntry) {
        list->addItem(*firstEntry);
    }
    list->addItems(items);
    list->setCurrentIndex(hadChoice ? list->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1);
}

void refill(QComboBox* list, const NamedIds& entries)
{
    const std::optional<qint64> chosen = PairedList::selectedId(list);
    const QSignalBlocker blocker(list);
    PairedList::fill(list, entries);
    if (chosen) {
        PairedList::selectById(list, *chosen);
    }
}

void selectText(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void selectId(QComboBox* list, const std::optional<qint64>& id)
{
    if (!id) {
        list->setCurrentIndex(-1);
        return;
    }
    PairedList::selectById(list, *id);
}

std::optional<qint64> chosenId(const QComboBox* list)
{
    return PairedList::selectedId(list);
}

} // namespace Controls
