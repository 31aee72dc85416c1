#pragma once

#include <QDate>
#include <QString>

class Database;
class QWidget;

// The questions a report puts before it runs. Each ends the report silently when the user
// does not confirm it.
namespace ReportQuestions {

// The shared date range dialog; false when it was not confirmed.
bool askDateRange(QDate* from, QDate* to);

// The owner condition: no owners skips the question (no restriction); otherwise the owners
// by code under "All" (chosen at first), several may be chosen. ReportConditions::Cancelled
// when not confirmed. The prefix names the owner column's table ("buildings." or empty).
// Throws DbError.
QString OwnerCondition(Database& db, const QString& prefix, QWidget* parent);

// The building condition among the buildings the owner condition allows (all chosen at
// first); no such building skips the question. A cancelled owner question passes through.
// Throws DbError.
QString BuildingCondition(Database& db, const QString& ownerCondition, QWidget* parent);

} // namespace ReportQuestions
