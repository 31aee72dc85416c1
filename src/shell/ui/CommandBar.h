#pragma once

#include <QWidget>

class QAbstractButton;
class QAction;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

// The outlook-style command bar: a stack of groups, one open at a time, each a column of
// large buttons. The captions of the groups before the open one stand above it, the others
// below it at the bottom of the bar. A button runs the QAction it was given and follows its
// enabled state.
class CommandBar : public QWidget
{
    Q_OBJECT
public:
    explicit CommandBar(QWidget* parent = nullptr);

    // Starts a new group; the following buttons go into it.
    void addGroup(const QString& caption);
    // A button of the open group under the command bar's 32-pixel picture of the command.
    QToolButton* addButton(const QString& caption, QAction* action, const QIcon& icon);

    int groupCount() const;
    QString groupCaption(int index) const;
    // The caption bar of a group, which opens it when clicked.
    QAbstractButton* captionBar(int index) const;
    int currentGroup() const;
    void setCurrentGroup(int index);
    QList<QToolButton*> buttons(int group) const;

private:
    QVBoxLayout* m_layout;
    QList<QAbstractButton*> m_captions;
    QList<QScrollArea*> m_pages;
    int m_current = -1;
};
