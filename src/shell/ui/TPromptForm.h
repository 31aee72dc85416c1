#pragma once

#include <QDialog>

// A reminder that pops up at start-up: modeless, a tool window over the main window.
class TPromptForm : public QDialog
{
    Q_OBJECT
public:
    TPromptForm(const QString& title, const QString& text, QWidget* parent);
    QString text() const;

private:
    class QLabel* m_text;
};
