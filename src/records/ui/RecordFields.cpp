#include "records/ui/RecordFields.h"

#include "data/Clock.h"
#include "data/Money.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace RecordFields {

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
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    // Digits with a point, whatever the user's locale: the way amounts are typed everywhere.
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9,]{0,15}(\\.[0-9]{0,2})?")), e));
    e->setAlignment(Qt::AlignRight);
    return e;
}

QLineEdit* unsignedAmount(const char* objectName)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(objectName));
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9,]{0,16}([.][0-9]{0,2})?")), e));
    e->setAlignment(Qt::AlignRight);
    return e;
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

Money readMoney(const QLineEdit* edit, bool* ok)
{
    const QString t = edit->text().trimmed();
    bool good = true;
    Money m;
    if (!t.isEmpty())
        m = Money::parse(t, &good);
    if (ok)
        *ok = good;
    return good ? m : Money();
}

void showInteger(QLineEdit* edit, const QVariant& value)
{
    edit->setText(value.isNull() ? QString() : QString::number(value.toLongLong()));
}

void showAmount(QLineEdit* edit, const QVariant& value)
{
    edit->setText(value.isNull() ? QString() : Money::fromVariant(value).roundedToCents().toSql());
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

QVariant readAmount(const QLineEdit* edit, bool* ok)
{
    const QString t = edit->text().trimmed();
    *ok = true;
    if (t.isEmpty())
        return QVariant();
    const Money m = Money::parse(t, ok);
    return *ok ? QVariant::fromValue(m.roundedToCents()) : QVariant();
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
