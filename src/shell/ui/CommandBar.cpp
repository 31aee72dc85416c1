#include "shell/ui/CommandBar.h"

#include "shell/ui/Header.h"
#include "shell/ui/Icons.h"

#include <QAbstractButton>
#include <QAction>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A group's caption: the header's gradient with the caption centred in white Arial 8 point.
class CaptionBar : public QAbstractButton
{
public:
    explicit CaptionBar(const QString& caption, QWidget* parent = nullptr) : QAbstractButton(parent)
    {
        setText(caption);
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(8);
        setFont(f);
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(std::max(22, fontMetrics().height() + 10));
        setCursor(Qt::PointingHandCursor);
    }

    QSize sizeHint() const override { return QSize(200, height()); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, underMouse() ? Header::Top.lighter(110) : Header::Top);
        g.setColorAt(1, Header::Bottom);
        p.fillRect(rect(), g);
        p.setPen(QColor(8, 80, 102));
        p.drawLine(rect().bottomLeft(), rect().bottomRight());
        p.setPen(Qt::white);
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter, text());
        if (hasFocus()) {
            p.setPen(QPen(Qt::white, 1, Qt::DotLine));
            p.drawRect(rect().adjusted(2, 2, -3, -3));
        }
    }
    void enterEvent(QEnterEvent* e) override
    {
        update();
        QAbstractButton::enterEvent(e);
    }
    void leaveEvent(QEvent* e) override
    {
        update();
        QAbstractButton::leaveEvent(e);
    }
};

} // namespace

CommandBar::CommandBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("commandBar"));
    setFixedWidth(200);
    setStyleSheet(
        QStringLiteral("QScrollArea#commandPage, QScrollArea#commandPage > QWidget > QWidget {"
                       " background: rgb(235,244,248); }"
                       "QToolButton { border: none; padding: 4px; color: rgb(20,50,70); }"
                       "QToolButton:hover { background: rgb(205,232,243); border-radius: 4px; }"
                       "QToolButton:focus { background: rgb(205,232,243); border-radius: 4px; }"
                       "QToolButton:disabled { color: rgb(150,160,165); }"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

void CommandBar::addGroup(const QString& caption)
{
    auto* bar = new CaptionBar(caption);
    bar->setObjectName(QStringLiteral("caption_") + caption.simplified());
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("group_") + caption);
    auto* column = new QVBoxLayout(page);
    column->setSpacing(2);
    column->setContentsMargins(4, 6, 4, 6);
    column->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("commandPage"));
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->hide();
    const int index = int(m_captions.size());
    connect(bar, &QAbstractButton::clicked, this, [this, index] { setCurrentGroup(index); });
    m_layout->addWidget(bar);
    m_layout->addWidget(scroll, 1);
    m_captions << bar;
    m_pages << scroll;
}

QToolButton* CommandBar::addButton(const QString& caption, QAction* action, const QIcon& icon)
{
    QWidget* page = m_pages.last()->widget();
    auto* column = static_cast<QVBoxLayout*>(page->layout());
    auto* button = new QToolButton(page);
    button->setObjectName(QStringLiteral("button_") + caption.simplified());
    button->setText(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(Icons::CommandBarSize, Icons::CommandBarSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setAutoRaise(true);
    button->setEnabled(action->isEnabled());
    connect(button, &QToolButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, [button, action] {
        button->setEnabled(action->isEnabled());
    });
    column->insertWidget(column->count() - 1, button);
    return button;
}

int CommandBar::groupCount() const
{
    return int(m_captions.size());
}

QString CommandBar::groupCaption(int index) const
{
    return m_captions.value(index) ? m_captions.at(index)->text() : QString();
}

QAbstractButton* CommandBar::captionBar(int index) const
{
    return m_captions.value(index);
}

int CommandBar::currentGroup() const
{
    return m_current;
}

void CommandBar::setCurrentGroup(int index)
{
    if (index < 0 || index >= m_pages.size())
        return;
    m_current = index;
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages.at(i)->setVisible(i == index);
}

QList<QToolButton*> CommandBar::buttons(int group) const
{
    return m_pages.at(group)->widget()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
}
