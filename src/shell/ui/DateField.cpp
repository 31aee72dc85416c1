#include "shell/ui/DateField.h"

#include "data/Clock.h"
#include "data/DateText.h"
#include "shell/ui/Icons.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

DateField::DateField(QWidget* parent) : QWidget(parent)
{
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("dateText"));
    m_edit->installEventFilter(this);
    // Room for the longest date of the format, not more.
    const QString widest = DateText::show(QDate(2000, 12, 28));
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(widest + QStringLiteral("00")) +
                            12);
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("calendarButton"));
    m_button->setIcon(Icons::get(QStringLiteral("view-calendar")));
    m_button->setToolTip(QStringLiteral("Calendar (Alt+Down)"));
    // The calendar is reached from the keyboard with Alt+Down; Tab goes on to the next field.
    m_button->setFocusPolicy(Qt::NoFocus);
    connect(m_button, &QToolButton::clicked, this, &DateField::showCalendar);
    connect(m_edit, &QLineEdit::editingFinished, this, &DateField::commitText);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setDate(Clock::today());
}

void DateField::setOptional(bool on)
{
    m_optional = on;
}

QDate DateField::date() const
{
    if (isEmpty())
        return QDate();
    // Text typed and not yet left counts as well, whatever ends the editing.
    if (m_edit->text() == DateText::show(m_date))
        return m_date;
    return DateText::parse(m_edit->text(), m_date.isValid() ? m_date : Clock::today());
}

void DateField::setDate(const QDate& date)
{
    display(date.isValid() ? date : QDate());
}

QVariant DateField::value() const
{
    const QDate d = date();
    return d.isValid() ? QVariant(d) : QVariant(QMetaType(QMetaType::QDate));
}

void DateField::setValue(const QVariant& value)
{
    setDate(value.toDate());
}

bool DateField::isEmpty() const
{
    return m_edit->text().trimmed().isEmpty();
}

bool DateField::isValid() const
{
    return isEmpty() ? m_optional : date().isValid();
}

void DateField::setReadOnly(bool on)
{
    m_readOnly = on;
    m_edit->setReadOnly(on);
    m_button->setEnabled(!on && isEnabled());
}

void DateField::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        m_button->setEnabled(isEnabled() && !m_readOnly);
    QWidget::changeEvent(event);
}

void DateField::display(const QDate& date)
{
    const bool changed = date != m_date || m_edit->text() != DateText::show(date);
    m_date = date;
    m_edit->setText(DateText::show(date));
    if (changed)
        emit dateChanged(date);
}

void DateField::commitText()
{
    const QString text = m_edit->text().trimmed();
    if (text.isEmpty()) {
        if (m_date.isValid()) {
            m_date = QDate();
            emit dateChanged(m_date);
        }
        return;
    }
    const QDate typed = DateText::parse(text, m_date.isValid() ? m_date : Clock::today());
    if (typed.isValid())
        display(typed);
}

void DateField::step(int days, int months)
{
    if (m_readOnly)
        return;
    commitText();
    const QDate from = date().isValid() ? date() : Clock::today();
    display(from.addMonths(months).addDays(days));
    m_edit->selectAll();
}

bool DateField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Typing replaces the whole date. A click places the caret after this, hence later.
        QTimer::singleShot(0, m_edit, [e = m_edit] {
            if (e->hasFocus())
                e->selectAll();
        });
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers() & Qt::AltModifier;
        if ((alt && key->key() == Qt::Key_Down) || key->key() == Qt::Key_F4) {
            showCalendar();
            return true;
        }
        if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
            break;
        switch (key->key()) {
        case Qt::Key_Up:
            step(1, 0);
            return true;
        case Qt::Key_Down:
            step(-1, 0);
            return true;
        case Qt::Key_PageUp:
            step(0, 1);
            return true;
        case Qt::Key_PageDown:
            step(0, -1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The date is read before the dialog's default button acts on it.
            commitText();
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QCalendarWidget* DateField::calendar() const
{
    return m_popup && m_popup->isVisible() ? m_popup->findChild<QCalendarWidget*>() : nullptr;
}

void DateField::showCalendar()
{
    if (m_readOnly || !isEnabled())
        return;
    commitText();
    if (!m_popup) {
        m_popup = new QWidget(this, Qt::Popup);
        m_popup->setObjectName(QStringLiteral("calendarPopup"));
        auto* calendar = new QCalendarWidget(m_popup);
        calendar->setObjectName(QStringLiteral("calendar"));
        calendar->setGridVisible(true);
        auto* layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(1, 1, 1, 1);
        layout->addWidget(calendar);
        auto pick = [this](const QDate& d) {
            display(d);
            m_popup->hide();
            m_edit->setFocus(Qt::PopupFocusReason);
            m_edit->selectAll();
        };
        connect(calendar, &QCalendarWidget::clicked, this, pick);
        connect(calendar, &QCalendarWidget::activated, this, pick);
    }
    auto* calendar = m_popup->findChild<QCalendarWidget*>();
    const QDate shown = date().isValid() ? date() : Clock::today();
    calendar->setSelectedDate(shown);
    m_popup->adjustSize();
    // Below the field, or above it when the screen ends first.
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + m_popup->height() > area.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - m_popup->height());
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() - m_popup->width())));
    }
    m_popup->move(at);
    m_popup->show();
    calendar->setFocus(Qt::PopupFocusReason);
}
