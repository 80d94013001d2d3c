#include "widgets/controls.h"

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

DateBox* datePicker(QWidget* parent, const QString& name)
{
    auto* date = new DateBox(parent);
    date->setObjectName(name);
    return date;
}

PhoneBox* phoneBox(QWidget* parent, const QString& name)
{
    auto* edit = new PhoneBox(parent);
    edit->setObjectName(name);
    edit->setMaxLength(kTextLength);
    return edit;
}

DateSwitch* switchedDate(QWidget* parent, const QString& dateName, const QString& checkName)
{
    // Built check box first: it comes before its date in the tab order.
    QCheckBox* check = checkBox(parent, checkName, QStringLiteral("<--"));
    DateBox* date = datePicker(parent, dateName);
    return new DateSwitch(check, date);
}

int addLabelledFields(QGridLayout* grid, const QList<std::pair<QString, QWidget*>>& fields, int pairsPerRow)
{
    for (int i = 0; i < fields.size(); ++i) {
        auto* caption = new QLabel(fields[i].first, fields[i].second->parentWidget());
        caption->setBuddy(fields[i].second);
        grid->addWidget(caption, i / pairsPerRow, (i % pairsPerRow) * 2, Qt::AlignRight);
        grid->addWidget(fields[i].second, i / pairsPerRow, (i % pairsPerRow) * 2 + 1);
    }
    return (int(fields.size()) + pairsPerRow - 1) / pairsPerRow;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

SearchButtons searchButtons(QWidget* parent, const QList<std::pair<QString, QString>>& prints)
{
    SearchButtons buttons;
    buttons.row = new QHBoxLayout;
    buttons.find = button(parent, QStringLiteral("btnFind"), QCoreApplication::translate("Controls", "&Find"));
    buttons.clear = button(parent, QStringLiteral("btnClear"), QCoreApplication::translate("Controls", "&Clear"));
    buttons.exit = button(parent, QStringLiteral("btnExit"), QCoreApplication::translate("Controls", "E&xit"));
    for (QPushButton* b : {buttons.find, buttons.clear, buttons.exit}) {
        buttons.row->addWidget(b);
    }
    buttons.row->addStretch();
    for (const auto& [name, caption] : prints) {
        buttons.prints << button(parent, name, caption);
        buttons.row->addWidget(buttons.prints.last());
    }
    return buttons;
}

QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    return row;
}

QTableView* grid(QWidget* parent, const QString& name)
{
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    GridExport::attach(view);
    return view;
}

QTableView* resultGrid(QWidget* parent, const QString& name)
{
    QTableView* view = grid(parent, name);
    view->setWordWrap(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    return view;
}

void fitColumnsToLongest(QTableView* grid, const std::function<int(int column)>& longestRow)
{
    const QAbstractItemModel* model = grid->model();
    if (model == nullptr) {
        return;
    }
    const QFontMetrics metrics = grid->fontMetrics();
    const int padding = 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 12;
    QHeaderView* header = grid->horizontalHeader();
    for (int column = 0; column < model->columnCount(); ++column) {
        int width = header->sectionSizeHint(column);
        const int row = longestRow(column);
        if (row >= 0) {
            const QString text = model->data(model->index(row, column)).toString();
            width = qMax(width, metrics.horizontalAdvance(text) + padding);
        }
        header->resizeSection(column, width);
    }
}

namespace {

// A scroll area that asks for the room its page needs, so a screen opens at its full size wherever that
// fits and scrolls only where it does not (a plain scroll area asks for a fixed, smaller size).
class PageScroller : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        if (widget() == nullptr) {
            return QScrollArea::sizeHint();
        }
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

} // namespace

QScrollArea* scrollingArea(QWidget* parent, QWidget* page)
{
    auto* scroller = new PageScroller(parent);
    scroller->setFrameShape(QFrame::NoFrame);
    // Tab goes from field to field, never to the invisible area around them.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    scroller->setWidget(page);
    // A box given the focus from code (a required field, the first field of a new record) is scrolled to too.
    QObject::connect(qApp, &QApplication::focusChanged, scroller, [scroller](QWidget*, QWidget* now) {
        if (now != nullptr && scroller->widget()->isAncestorOf(now)) {
            scroller->ensureWidgetVisible(now);
        }
    });
    return scroller;
}

void addScrollingPage(QTabWidget* pages, QWidget* page, const QString& caption)
{
    pages->addTab(scrollingArea(pages, page), caption);
}

void addPageShortcuts(QTabWidget* pages)
{
    QWidget* screen = pages->window();
    const auto step = [pages](int by) {
        const int count = pages->count();
        int index = pages->currentIndex();
        for (int tried = 0; tried < count; ++tried) {
            index = (index + by + count) % count;
            if (pages->isTabVisible(index) && pages->isTabEnabled(index)) {
                showPage(pages, index);
                return;
            }
        }
    };
    const QList<std::pair<QKeySequence, int>> keys = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& [key, by] : keys) {
        auto* shortcut = new QShortcut(key, pages->parentWidget() ? pages->parentWidget() : screen);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, pages, [step, by] { step(by); });
    }
}

QWidget* firstField(QWidget* page)
{
    if (const auto* scroller = qobject_cast<const QScrollArea*>(page); scroller != nullptr && scroller->widget()) {
        page = scroller->widget();
    }
    // The page's fields follow it in the focus chain, in the order Tab visits them.
    for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() &&
            w->isVisibleTo(page) && w->focusProxy() == nullptr) {
            return w;
        }
    }
    return nullptr;
}

void showPage(QTabWidget* pages, int index)
{
    pages->setCurrentIndex(index);
    if (QWidget* field = firstField(pages->widget(index))) {
        field->setFocus(Qt::ShortcutFocusReason);
    }
}

void makeDisplayOnly(QLineEdit* box)
{
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
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

} // namespace Controls
