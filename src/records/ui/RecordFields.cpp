#include "records/ui/RecordFields.h"

#include "data/Clock.h"
#include "data/Money.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QLocale>

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

} // namespace

QLineEdit* text(const char* objectName, int maxLength)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setMaxLength(maxLength);
    return e;
}

QLineEdit* integer(const char* objectName)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setValidator(new QIntValidator(0, 2147483647, e));
    return e;
}

QLineEdit* amount(const char* objectName)
{
    return amountEdit(objectName, Money::Sign::Signed);
}

QLineEdit* unsignedAmount(const char* objectName)
{
    return amountEdit(objectName, Money::Sign::Unsigned);
}

QLineEdit* smallInteger(const char* objectName)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setValidator(new QIntValidator(-32768, 32767, e));
    return e;
}

QLineEdit* readOnly(const char* objectName)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QDateEdit* date(const char* objectName)
{
    auto* d = new QDateEdit;
    d->setObjectName(QLatin1String(objectName));
    d->setCalendarPopup(true);
    d->setDate(Clock::today());
    return d;
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

OptionalDate::OptionalDate(const char* objectName, QWidget* parent) : QWidget(parent)
{
    const QString name = QLatin1String(objectName);
    setObjectName(name);
    m_box = new QCheckBox;
    m_box->setObjectName(name + QStringLiteral("Box"));
    m_edit = new QDateEdit(Clock::today());
    m_edit->setObjectName(name + QStringLiteral("Edit"));
    m_edit->setCalendarPopup(true);
    m_edit->setEnabled(false);
    connect(m_box, &QCheckBox::toggled, m_edit, &QWidget::setEnabled);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    layout->addWidget(m_edit, 1);
}

void OptionalDate::setValue(const QVariant& date)
{
    const QDate d = date.toDate();
    m_box->setChecked(d.isValid());
    m_edit->setDate(d.isValid() ? d : Clock::today());
}

QVariant OptionalDate::value() const
{
    return m_box->isChecked() ? QVariant(m_edit->date()) : QVariant(QMetaType(QMetaType::QDate));
}

} // namespace RecordFields
