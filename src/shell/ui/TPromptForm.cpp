#include "shell/ui/TPromptForm.h"

#include "shell/ui/Icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

TPromptForm::TPromptForm(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TPromptForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(title);
    auto* icon = new QLabel;
    icon->setPixmap(Icons::get(QStringLiteral("dialog-information")).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    m_text = new QLabel(text);
    m_text->setObjectName(QStringLiteral("reminderText"));
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_text->setFixedSize(233, 113);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(m_text);
    // Centred by its laid-out size: before that the window has no size of its own yet.
    adjustSize();
    if (parent) {
        QRect place = rect();
        place.moveCenter(parent->geometry().center());
        move(place.topLeft());
    }
}

QString TPromptForm::text() const
{
    return m_text->text();
}
