#pragma once

#include <QWidget>

class QLabel;

// The strip across the top of the main window: a vertical gradient with the launch date.
class Header : public QWidget
{
    Q_OBJECT
public:
    explicit Header(QWidget* parent = nullptr);
    void setDateText(const QString& text);
    QString dateText() const;

    static const QColor Top;
    static const QColor Bottom;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_date;
};
