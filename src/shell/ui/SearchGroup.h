#pragma once

#include <QGroupBox>
#include <QPair>

class QComboBox;
class QLineEdit;
class QPushButton;

// The search group of the list windows: "Field", "Criteria", "&Search" and "&Clear". Enter
// anywhere in the group searches and Escape clears, in a child window as in a dialog (where
// the keys would otherwise press the dialog's own buttons or close it).
class SearchGroup : public QGroupBox
{
    Q_OBJECT
public:
    // fields: (caption shown in "Field", value handed to the search), the first preselected.
    explicit SearchGroup(const QString& title, const QList<QPair<QString, QString>>& fields,
                         QWidget* parent = nullptr);

    QComboBox* fieldBox() const { return m_field; }
    QLineEdit* criteriaEdit() const { return m_criteria; }
    QPushButton* searchButton() const { return m_search; }
    QPushButton* clearButton() const { return m_clear; }
    // The chosen field's value.
    QString field() const;

signals:
    void searchRequested();
    void clearRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* m_field;
    QLineEdit* m_criteria;
    QPushButton* m_search;
    QPushButton* m_clear;
};
