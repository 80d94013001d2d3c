#include "widgets/screenhelpers.h"

#include "services/prospectcontactmodel.h"
#include "widgets/datebox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTableView>

namespace {

class SelectAllOnFocus final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectAllOnFocus)

public:
    explicit SelectAllOnFocus(QLineEdit* edit)
        : QObject(edit)
        , m_edit(edit)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            m_edit->selectAll();
            // The box's own focus handling (a masked box moves to its first blank) and the click that gave
            // the focus come after us and would drop the selection: select again once they are done.
            QMetaObject::invokeMethod(m_edit, &QLineEdit::selectAll, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* m_edit;
};

} // namespace

void closeScreen(QWidget* screen)
{
    if (auto* window = qobject_cast<QMdiSubWindow*>(screen->parentWidget())) {
        window->close();
    } else {
        screen->close();
    }
}

int workAreaHeight(const QWidget* screen)
{
    for (const QWidget* w = screen; w != nullptr; w = w->parentWidget()) {
        if (const auto* area = qobject_cast<const QMdiArea*>(w)) {
            return area->viewport()->height();
        }
    }
    const QScreen* display = screen->screen();
    return display ? display->availableGeometry().height() : 0;
}

QSize searchScreenSize(const QWidget* screen, const QSize& layoutHint)
{
    return {qMax(789, layoutHint.width()), qMax(workAreaHeight(screen) * 9 / 10, layoutHint.height())};
}

void fitContactColumns(QTableView* grid)
{
    grid->resizeColumnsToContents();
    grid->setColumnWidth(ProspectContactModel::NotesColumn, 333);
}

void selectAllOnFocus(QLineEdit* edit)
{
    edit->installEventFilter(new SelectAllOnFocus(edit));
}

DateSwitch::DateSwitch(QCheckBox* check, DateBox* date)
    : QObject(date)
    , m_check(check)
    , m_date(date)
{
    connect(m_check, &QCheckBox::toggled, this, &DateSwitch::followCheckBox);
    connect(m_date, &DateBox::edited, this, &DateSwitch::dateEdited);
    m_check->installEventFilter(this);
    followCheckBox();
}

void DateSwitch::followCheckBox()
{
    // Dropped before the box is disabled, which takes the focus from it: a text left there would be reported.
    if (!m_check->isChecked()) {
        m_date->revert();
    }
    m_date->setEnabled(m_check->isChecked());
}

void DateSwitch::dateEdited()
{
    if (!m_check->isChecked() && m_check->isEnabled()) {
        m_check->setChecked(true);
    }
}

bool DateSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_check && event->type() == QEvent::KeyPress && m_check->isEnabled()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool typed = !key->text().isEmpty() && key->text().front().isLetterOrNumber() &&
                           (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
        if (typed) {
            m_check->setChecked(true);
            if (m_date->isEnabled()) {
                QLineEdit* edit = m_date->lineEdit();
                edit->setFocus(Qt::OtherFocusReason);
                edit->selectAll();
                QCoreApplication::sendEvent(edit, key);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

std::optional<QDate> DateSwitch::date() const
{
    if (!m_check->isChecked()) {
        return std::nullopt;
    }
    return m_date->date();
}

void DateSwitch::setDate(const std::optional<QDate>& date, const QDate& fallback)
{
    if (date && date->isValid()) {
        m_date->setDate(*date);
        m_check->setChecked(true);
    } else {
        if (fallback.isValid()) {
            m_date->setDate(fallback);
        }
        m_check->setChecked(false);
    }
    followCheckBox();
}

#include "screenhelpers.moc"
