#include "widgets/datebox.h"

#include "core/textformat.h"
#include "widgets/controls.h"
#include "widgets/inputchecks.h"
#include "widgets/messages.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

DateBox::DateBox(QWidget* parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_button(new QToolButton(this))
{
    m_edit->setMaxLength(Controls::kTextLength);
    m_edit->installEventFilter(this);
    m_button->setObjectName(QStringLiteral("btnCalendar"));
    m_button->setArrowType(Qt::DownArrow);
    m_button->setToolTip(tr("Calendar (Alt+Down)"));
    // Tab goes from the text straight to the next control; the calendar opens by mouse or Alt+Down.
    m_button->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_edit);
    setSizePolicy(m_edit->sizePolicy());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);

    connect(m_edit, &QLineEdit::textEdited, this, [this] {
        m_reported.clear();
        emit edited();
    });
    connect(m_edit, &QLineEdit::editingFinished, this, [this] {
        // Opening the calendar or a menu, or switching to another program, is no leaving the box.
        if (calendar() == nullptr && m_leftBy != Qt::PopupFocusReason && m_leftBy != Qt::ActiveWindowFocusReason) {
            commit();
        }
    });
    connect(m_button, &QToolButton::clicked, this, &DateBox::showCalendar);
    m_edit->setText(shownText());
}

void DateBox::setDate(const QDate& date)
{
    if (!date.isValid()) {
        return;
    }
    const bool changed = date != m_date;
    m_date = date;
    m_reported.clear();
    m_edit->setText(shownText());
    if (changed) {
        emit dateChanged(m_date);
    }
}

QString DateBox::shownText() const
{
    return shortDate(m_date, locale());
}

QSize DateBox::sizeHint() const
{
    const QSize whole = QWidget::sizeHint();
    const QString longest = shortDate(QDate(2000, 12, 28), locale());
    const QMargins margins = m_edit->textMargins();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_edit);
    // Room for the text with a blank either side, the box's frame and the calendar button.
    const int width = m_edit->fontMetrics().horizontalAdvance(u' ' + longest + u' ') + margins.left() +
                      margins.right() + 2 * frame + 4 + m_button->sizeHint().width();
    return {qMin(whole.width(), width), whole.height()};
}

QString DateBox::refusal() const
{
    const QString text = m_edit->text();
    if (text == shownText()) {
        return {};
    }
    const TypedDate typed = parseDate(text, locale());
    if (typed.date.isValid()) {
        return {};
    }
    return tr("%1: \"%2\" is not a date. %3").arg(Controls::fieldName(this), text, typed.problem);
}

QString DateBox::accept()
{
    const QString message = refusal();
    if (message.isEmpty() && m_edit->text() != shownText()) {
        setDate(parseDate(m_edit->text(), locale()).date);
    }
    return message;
}

bool DateBox::commit()
{
    const QString message = accept();
    if (message.isEmpty()) {
        return true;
    }
    // Leaving the box for the message box must not report the same text again.
    if (!m_reporting && m_edit->text() != m_reported) {
        m_reported = m_edit->text();
        m_reporting = true;
        showMessage(message, MessageStyle::Warning, tr("Not a Date"));
        m_reporting = false;
    }
    return false;
}

bool DateBox::holdsTypedChange() const
{
    if (!isEnabled() || m_edit->text() == shownText()) {
        return false;
    }
    return parseDate(m_edit->text(), locale()).date != m_date;
}

void DateBox::revert()
{
    m_reported.clear();
    m_edit->setText(shownText());
}

QCalendarWidget* DateBox::calendar() const
{
    return m_popup != nullptr && m_popup->isVisible() ? m_calendar : nullptr;
}

void DateBox::showCalendar()
{
    if (m_popup == nullptr) {
        auto* popup = new QFrame(this, Qt::Popup);
        popup->setObjectName(QStringLiteral("calendarPopup"));
        popup->setFrameShape(QFrame::StyledPanel);
        m_calendar = new QCalendarWidget(popup);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        m_calendar->installEventFilter(this);
        auto* layout = new QVBoxLayout(popup);
        layout->setContentsMargins(1, 1, 1, 1);
        layout->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DateBox::calendarPicked);
        connect(m_calendar, &QCalendarWidget::activated, this, &DateBox::calendarPicked);
        m_popup = popup;
    }
    // Weeks and month names as the box writes dates (a Sunday-first US calendar under the C locale).
    m_calendar->setLocale(dateLocale(locale()));
    // The calendar opens on what the box holds: a typed date not yet taken, else the date.
    const QDate typed = parseDate(m_edit->text(), locale()).date;
    m_calendar->setSelectedDate(typed.isValid() ? typed : m_date);
    m_popup->adjustSize();
    QPoint place = mapToGlobal(QPoint(0, height()));
    if (const QScreen* display = screen()) {
        const QRect area = display->availableGeometry();
        if (place.y() + m_popup->height() > area.bottom()) {
            place.setY(mapToGlobal(QPoint(0, 0)).y() - m_popup->height());
        }
        place.setX(qBound(area.left(), place.x(), qMax(area.left(), area.right() - m_popup->width())));
    }
    m_popup->move(place);
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DateBox::calendarPicked(const QDate& date)
{
    m_popup->hide();
    setDate(date);
    emit edited();
    m_edit->setFocus(Qt::OtherFocusReason);
    m_edit->selectAll();
}

bool DateBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::FocusOut) {
        m_leftBy = static_cast<QFocusEvent*>(event)->reason();
    } else if (watched == m_edit && event->type() == QEvent::FocusIn) {
        m_leftBy.reset();
        // Typing replaces the whole date. A click places the cursor after the focus arrives: select again then.
        m_edit->selectAll();
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
            QMetaObject::invokeMethod(m_edit, &QLineEdit::selectAll, Qt::QueuedConnection);
        }
    } else if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)) {
            showCalendar();
            return true;
        }
    } else if (watched == m_calendar && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_popup->hide();
        m_edit->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DateBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange) {
        revert();
    }
    QWidget::changeEvent(event);
}
