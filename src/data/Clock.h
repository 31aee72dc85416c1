#pragma once

#include <QDate>
#include <QDateTime>

// The one source of "today" and "now". Tests fix it; nothing else reads the system clock.
class Clock
{
public:
    static QDate today();
    static QDateTime now();

    // Pins today (and now, at that date's current time of day unless given).
    static void setFixed(const QDate& today, const QTime& time = QTime(12, 0));
    static void reset();
    static bool isFixed();
};
