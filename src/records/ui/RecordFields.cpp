#include "records/ui/RecordFields.h"

#include "data/Clock.h"
#include "data/Money.h"
#include "shell/Messages.h"
#include "shell/ui/DateField.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QValidator>
#include <optional>

namespace RecordFields {

namespace {

// Amounts in the user's locale. Keystrokes that can still become an amount are let through;
// what is wrong with the rest is explained when the dialog reads the field.
class AmountValidator : public QValidator
{
public:
    AmountValidator(Money::Sign sign, QLineEdit* edit) : QValidator(edit), m_edit(edit), m_sign(sign) {}

    Money::Sign sign() const { return m_sign; }

    State validate(QString& input, int&) const override
    {
        const QLocale locale = m_edit->locale();
        if (input.trimmed().isEmpty() || Money::parseLocale(input, locale, m_sign))
            return Acceptable;
        return mayBecomeAmount(input, locale) ? Intermediate : Invalid;
    }

private:
    bool mayBecomeAmount(const QString& input, const QLocale& locale) const
    {
        const QString point = locale.decimalPoint();
        const QString group = locale.groupSeparator();
        QString s = input.trimmed();
        if (m_sign == Money::Sign::Signed) {
            for (const QString& minus : {locale.negativeSign(), QStringLiteral("-")}) {
                if (!minus.isEmpty() && s.startsWith(minus)) {
                    s.remove(0, minus.size());
                    break;
                }
            }
        }
        const qsizetype at = s.indexOf(point);
        const QString whole = at >= 0 ? s.left(at) : s;
        const QString fraction = at >= 0 ? s.mid(at + point.size()) : QString();
        if (fraction.size() > 2)
            return false;
        for (const QChar c : fraction)
            if (!c.isDigit())
                return false;
        for (int i = 0; i < whole.size(); ++i) {
            const QChar c = whole.at(i);
            const bool separator = !group.isEmpty() &&
                                   (whole.mid(i, group.size()) == group ||
                                    (group.at(0).isSpace() && c == QLatin1Char(' ')));
            if (!c.isDigit() && !separator)
                return false;
        }
        return true;
    }

    QLineEdit* m_edit;
    Money::Sign m_sign;
};

QLineEdit* amountEdit(const char* objectName, Money::Sign sign)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setValidator(new AmountValidator(sign, e));
    e->setMaxLength(24);
    e->setAlignment(Qt::AlignRight);
    return e;
}

// The rules of the field: a field made here says whether it takes a sign; any other takes one.
Money::Sign signOf(const QLineEdit* edit)
{
    const auto* v = dynamic_cast<const AmountValidator*>(edit->validator());
    return v ? v->sign() : Money::Sign::Signed;
}

// What checkFields() needs to know of a field.
const char* const CaptionProperty = "fieldCaption";
const char* const MinProperty = "wholeMin";
const char* const MaxProperty = "wholeMax";

QString captionOf(const QWidget* w)
{
    const QString caption = w->property(CaptionProperty).toString();
    return caption.isEmpty() ? w->objectName() : caption;
}

// Brings the field into view: every tab page on the way to it becomes the current one.
void reveal(QWidget* field)
{
    for (QWidget* w = field; w && !w->isWindow(); w = w->parentWidget()) {
        if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget())) {
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(w);
            else
                stack->setCurrentWidget(w);
        }
    }
}

} // namespace

QLineEdit* text(const char* objectName, int maxLength)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setMaxLength(maxLength);
    return e;
}

QLineEdit* whole(const char* objectName, const QString& caption, Range range)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setProperty(CaptionProperty, caption);
    e->setProperty(MinProperty, range.min);
    e->setProperty(MaxProperty, range.max);
    // Long enough to type any wrong number in full and be told, not silently cut short.
    e->setMaxLength(24);
    e->setAlignment(Qt::AlignRight);
    return e;
}

void showWhole(QLineEdit* edit, const QVariant& value)
{
    if (value.isNull()) {
        edit->clear();
        return;
    }
    const qint64 units = Money::fromVariant(value).units();
    const qint64 half = Money::Scale / 2;
    edit->setText(QString::number((units >= 0 ? units + half : units - half) / Money::Scale));
}

namespace {
// The number typed, or nothing when the text is not a whole number (digits, maybe a sign).
std::optional<qint64> typedWhole(const QLineEdit* edit)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]{1,18}$"));
    const QString t = edit->text().trimmed();
    if (!number.match(t).hasMatch())
        return std::nullopt;
    return t.toLongLong();
}
} // namespace

QVariant readWhole(const QLineEdit* edit)
{
    if (edit->text().trimmed().isEmpty())
        return QVariant();
    const std::optional<qint64> v = typedWhole(edit);
    return v ? QVariant(*v) : QVariant();
}

QString wholeRefusal(const QLineEdit* edit)
{
    if (edit->text().trimmed().isEmpty())
        return QString();
    const qint64 min = edit->property(MinProperty).toLongLong();
    const qint64 max = edit->property(MaxProperty).toLongLong();
    const std::optional<qint64> v = typedWhole(edit);
    if (v && *v >= min && *v <= max)
        return QString();
    return QStringLiteral("The %1 field must be a whole number from %2 to %3!")
        .arg(captionOf(edit))
        .arg(min)
        .arg(max);
}

DateField* date(const char* objectName, const QString& caption, bool optional)
{
    auto* d = new DateField;
    d->setObjectName(QLatin1String(objectName));
    d->setProperty(CaptionProperty, caption);
    d->setOptional(optional);
    d->setDate(optional ? QDate() : Clock::today());
    return d;
}

QString dateRefusal(const DateField* field)
{
    if (field->isValid())
        return QString();
    if (field->isEmpty())
        return QStringLiteral("The %1 field is blank!").arg(captionOf(field));
    return QStringLiteral("The %1 field is not a date!").arg(captionOf(field));
}

bool checkFields(QWidget* dialog)
{
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        QString refusal;
        if (auto* d = qobject_cast<DateField*>(w))
            refusal = d->isReadOnly() || !d->isEnabled() ? QString() : dateRefusal(d);
        else if (auto* e = qobject_cast<QLineEdit*>(w); e && e->property(MinProperty).isValid())
            refusal = wholeRefusal(e);
        if (refusal.isEmpty())
            continue;
        reveal(w);
        w->setFocus(Qt::OtherFocusReason);
        if (auto* d = qobject_cast<DateField*>(w))
            d->lineEdit()->selectAll();
        else if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
        Messages::warning(refusal);
        return false;
    }
    return true;
}

QLineEdit* amount(const char* objectName)
{
    return amountEdit(objectName, Money::Sign::Signed);
}

QLineEdit* unsignedAmount(const char* objectName)
{
    return amountEdit(objectName, Money::Sign::Unsigned);
}

QLineEdit* readOnly(const char* objectName)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

Money readMoney(const QLineEdit* edit, bool* ok, QString* error)
{
    bool good = true;
    const QVariant v = readAmount(edit, &good, error);
    if (ok)
        *ok = good;
    return v.isNull() ? Money() : v.value<Money>();
}

void showInteger(QLineEdit* edit, const QVariant& value)
{
    edit->setText(value.isNull() ? QString() : QString::number(value.toLongLong()));
}

void showAmount(QLineEdit* edit, const QVariant& value)
{
    edit->setText(value.isNull() ? QString() : Money::fromVariant(value).toLocaleText(edit->locale()));
}

void showMoney(QLineEdit* edit, Money value)
{
    edit->setText(value.toLocaleText(edit->locale()));
}

QVariant readInteger(const QLineEdit* edit, bool* ok)
{
    const QString t = edit->text().trimmed();
    *ok = true;
    if (t.isEmpty())
        return QVariant();
    const int v = t.toInt(ok);
    return *ok ? QVariant(v) : QVariant();
}

QVariant readAmount(const QLineEdit* edit, bool* ok, QString* error)
{
    *ok = true;
    if (edit->text().trimmed().isEmpty())
        return QVariant();
    const std::optional<Money> m =
        Money::parseLocale(edit->text(), edit->locale(), signOf(edit), error);
    *ok = m.has_value();
    return m ? QVariant::fromValue(*m) : QVariant();
}

} // namespace RecordFields
