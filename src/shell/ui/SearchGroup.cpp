#include "shell/ui/SearchGroup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SearchGroup::SearchGroup(const QString& title, const QList<QPair<QString, QString>>& fields,
                         QWidget* parent)
    : QGroupBox(title, parent)
{
    setObjectName(QStringLiteral("searchGroup"));
    m_field = new QComboBox;
    m_field->setObjectName(QStringLiteral("fieldBox"));
    for (const auto& f : fields)
        m_field->addItem(f.first, f.second);
    m_criteria = new QLineEdit;
    m_criteria->setObjectName(QStringLiteral("criteriaEdit"));
    m_criteria->setClearButtonEnabled(false);
    m_search = new QPushButton(QStringLiteral("&Search"));
    m_search->setObjectName(QStringLiteral("searchButton"));
    m_clear = new QPushButton(QStringLiteral("&Clear"));
    m_clear->setObjectName(QStringLiteral("clearButton"));
    connect(m_search, &QPushButton::clicked, this, &SearchGroup::searchRequested);
    connect(m_clear, &QPushButton::clicked, this, &SearchGroup::clearRequested);
    for (QWidget* w : {static_cast<QWidget*>(m_field), static_cast<QWidget*>(m_criteria)})
        w->installEventFilter(this);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Field"), m_field);
    form->addRow(QStringLiteral("Criteria"), m_criteria);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_search);
    buttons->addWidget(m_clear);
    form->addRow(buttons);
}

QString SearchGroup::field() const
{
    return m_field->currentData().toString();
}

void SearchGroup::showEvent(QShowEvent* event)
{
    QGroupBox::showEvent(event);
    // In a dialog the default button is its own once the button sits in it.
    m_search->setDefault(true);
}

bool SearchGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QGroupBox::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return QGroupBox::eventFilter(watched, event);
    // An open drop-down list takes its own keys.
    if (watched == m_field && m_field->view()->isVisible())
        return QGroupBox::eventFilter(watched, event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool escape = key->key() == Qt::Key_Escape;
    if (!enter && !escape)
        return QGroupBox::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed before any shortcut of the window sees the key.
        event->accept();
        return true;
    }
    if (enter)
        m_search->click();
    else
        m_clear->click();
    return true;
}
