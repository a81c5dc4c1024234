#pragma once
// Dates and times in the fixed German forms, from a clock tests can fix.
#include <QDate>
#include <QDateTime>
#include <QString>

namespace tarnis {

// Now; TARNIS_TEST_NOW ("YYYY-MM-DD hh:mm:ss" or a date alone) or setFixedNow() overrides it.
QDateTime Now();
QDate Today();
void setFixedNow(const QDateTime &now);  // an invalid value returns to the real clock

QString formatDate(const QDate &date);          // "dd.MM.yyyy"
QString formatTime(const QTime &time);          // "hh:mm:ss"
QString formatDateTime(const QDateTime &value); // "dd.MM.yyyy hh:mm:ss"

}  // namespace tarnis
