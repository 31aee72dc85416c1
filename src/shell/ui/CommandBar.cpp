#include "shell/ui/CommandBar.h"

#include <QAction>
#include <QScrollArea>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

CommandBar::CommandBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("commandBar"));
    setFixedWidth(200);
    m_box = new QToolBox(this);
    m_box->setObjectName(QStringLiteral("commandGroups"));
    // Group captions use the header's gradient, white Arial 8 point, centred.
    m_box->setStyleSheet(QStringLiteral(
        "QToolBox::tab { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 rgb(114,215,243), stop:1 rgb(12,117,148)); color: white;"
        " font-family: Arial; font-size: 8pt; font-weight: bold; border-radius: 2px;"
        " min-height: 22px; }"
        "QToolBox::tab:selected { font-style: normal; }"
        "QToolBox QScrollArea, QToolBox QScrollArea > QWidget > QWidget {"
        " background: rgb(235,244,248); }"
        "QToolButton { border: none; padding: 4px; color: rgb(20,50,70); }"
        "QToolButton:hover { background: rgb(205,232,243); border-radius: 4px; }"
        "QToolButton:disabled { color: rgb(150,160,165); }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
}

void CommandBar::addGroup(const QString& caption)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("group_") + caption);
    auto* column = new QVBoxLayout(page);
    column->setSpacing(2);
    column->setContentsMargins(4, 6, 4, 6);
    column->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_box->addItem(scroll, caption);
    // Tab text is centred by the style; the toolbox itself keeps one group open.
}

QToolButton* CommandBar::addButton(const QString& caption, QAction* action, const QIcon& icon)
{
    auto* scroll = static_cast<QScrollArea*>(m_box->widget(m_box->count() - 1));
    QWidget* page = scroll->widget();
    auto* column = static_cast<QVBoxLayout*>(page->layout());
    auto* button = new QToolButton(page);
    button->setObjectName(QStringLiteral("button_") + caption.simplified());
    button->setText(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
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
    return m_box->count();
}

QString CommandBar::groupCaption(int index) const
{
    return m_box->itemText(index);
}

int CommandBar::currentGroup() const
{
    return m_box->currentIndex();
}

void CommandBar::setCurrentGroup(int index)
{
    m_box->setCurrentIndex(index);
}

QList<QToolButton*> CommandBar::buttons(int group) const
{
    auto* scroll = static_cast<QScrollArea*>(m_box->widget(group));
    return scroll->widget()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
}
