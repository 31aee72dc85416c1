#include "shell/ui/Header.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

const QColor Header::Top(114, 215, 243);
const QColor Header::Bottom(12, 117, 148);

Header::Header(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("header"));
    setFixedHeight(38);
    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("dateLabel"));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(11);
    m_date->setFont(font);
    m_date->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addWidget(m_date);
    layout->addStretch();
}

void Header::setDateText(const QString& text)
{
    m_date->setText(text);
}

QString Header::dateText() const
{
    return m_date->text();
}

void Header::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, Top);
    g.setColorAt(1, Bottom);
    p.fillRect(rect(), g);
}
