#include "data/Clock.h"

namespace {
QDateTime g_fixed;
}

QDate Clock::today()
{
    return g_fixed.isValid() ? g_fixed.date() : QDate::currentDate();
}

QDateTime Clock::now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDate& today, const QTime& time)
{
    g_fixed = QDateTime(today, time);
}

void Clock::reset()
{
    g_fixed = QDateTime();
}

bool Clock::isFixed()
{
    return g_fixed.isValid();
}
