#include "widgets/typeahead.h"

#include "services/appcontext.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace {

struct TypeAheadState
{
    double lastKeyTime = 0;
    QString prefix;
    // A deleted list reads as null, so a new list at the same address never continues its search.
    QPointer<QComboBox> lastList;
};

TypeAheadState& state()
{
    static TypeAheadState s;
    return s;
}

// The character a key stands for, or a null QChar when it produces none (arrows, function keys, Tab).
QChar typedCharacter(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return {};
    }
    switch (event.key()) {
        case Qt::Key_Backspace:
            return QChar(0x08);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return QChar(0x0d);
        case Qt::Key_Escape:
            return QChar(0x1b);
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return {};
        default:
            break;
    }
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        return {};
    }
    return text.at(0);
}

class TypeAheadFilter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TypeAheadFilter)

public:
    TypeAheadFilter(QComboBox* list, AppContext& context, TypeAheadListener listener)
        : QObject(list)
        , m_list(list)
        , m_context(context)
        , m_listener(std::move(listener))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
            return QObject::eventFilter(watched, event);
        }
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const QChar key = typedCharacter(*keyEvent);
        if (key.isNull() || closesOpenList(watched, *keyEvent)) {
            return QObject::eventFilter(watched, event);
        }
        if (event->type() == QEvent::ShortcutOverride) {
            // Claim the key so that no shortcut (a dialog's Escape, a default button's Enter) takes it.
            event->accept();
            return true;
        }
        const bool matched = ComboKeySearch::handleKey(*m_list, key, m_context);
        if (m_listener && key.isPrint()) {
            m_listener(ComboKeySearch::currentPrefix(), matched);
        }
        return true;
    }

private:
    // While the list is dropped down, Escape closes it and Enter takes the highlighted entry, as in any
    // drop-down; only the closed list swallows them as search characters. Keys sent to the drop-down's view
    // count as the open list's even when it has just closed, so the closing key starts no search.
    bool closesOpenList(QObject* watched, const QKeyEvent& event) const
    {
        const bool inOpenList = watched == m_list->view();
        const int k = event.key();
        return inOpenList && (k == Qt::Key_Escape || k == Qt::Key_Return || k == Qt::Key_Enter);
    }

    QComboBox* m_list;
    AppContext& m_context;
    TypeAheadListener m_listener;
};

} // namespace

namespace ComboKeySearch {

bool handleKey(QComboBox& list, QChar key, double delaySeconds, double nowSeconds)
{
    TypeAheadState& s = state();
    const double elapsed = nowSeconds - s.lastKeyTime;
    if (s.lastList != &list || elapsed >= delaySeconds) {
        s.prefix = QString(key);
        s.lastList = &list;
    } else {
        s.prefix += key;
    }
    const int found = list.findText(s.prefix, Qt::MatchStartsWith);
    if (found >= 0) {
        QAbstractItemView* view = list.view();
        if (view->isVisible()) {
            // The open list scrolls to the match and highlights it; Enter takes it, as a click would.
            const QModelIndex match = list.model()->index(found, list.modelColumn(), list.rootModelIndex());
            view->setCurrentIndex(match);
            view->scrollTo(match, QAbstractItemView::PositionAtCenter);
        } else {
            list.setCurrentIndex(found);
            emit list.activated(found);
            emit list.textActivated(list.itemText(found));
        }
    }
    s.lastKeyTime = nowSeconds;
    return found >= 0;
}

bool handleKey(QComboBox& list, QChar key, AppContext& context)
{
    return handleKey(list, key, context.church().keyPressDelay, context.clock().seconds());
}

QString currentPrefix()
{
    return state().prefix;
}

void startNewSearch()
{
    state() = TypeAheadState{};
}

void resetForTests()
{
    startNewSearch();
}

} // namespace ComboKeySearch

void attachTypeAhead(QComboBox* list, AppContext& context, TypeAheadListener listener)
{
    auto* filter = new TypeAheadFilter(list, context, std::move(listener));
    list->installEventFilter(filter);
    // Keys reach the drop-down view while it is open, and the line edit of an editable list.
    list->view()->installEventFilter(filter);
    if (QLineEdit* edit = list->lineEdit()) {
        edit->installEventFilter(filter);
    }
}

#include "typeahead.moc"
