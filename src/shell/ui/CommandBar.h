#pragma once

#include <QWidget>

class QAction;
class QToolBox;
class QToolButton;

// The outlook-style command bar: a stack of groups, one open at a time, each a column of
// large buttons. A button runs the QAction it was given and follows its enabled state.
class CommandBar : public QWidget
{
    Q_OBJECT
public:
    explicit CommandBar(QWidget* parent = nullptr);

    // Starts a new group; the following buttons go into it.
    void addGroup(const QString& caption);
    QToolButton* addButton(const QString& caption, QAction* action, const QIcon& icon);

    int groupCount() const;
    QString groupCaption(int index) const;
    int currentGroup() const;
    void setCurrentGroup(int index);
    QList<QToolButton*> buttons(int group) const;

private:
    QToolBox* m_box;
};
