#pragma once
// Date and time texts in the system's formats: the short date format and the
// long time format without its time-zone field.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace trelvan {

// A time format with every time-zone field ("t", outside quotes) removed,
// together with the blank before it.
QString WithoutTimeZone(const QString& format);

struct DateTimeTexts {
  QString date;  // short date format
  QString time;  // long time format, no time zone
};

// Both texts from one reading of the clock (or of the value given).
DateTimeTexts LocaleDateTimeTexts(const QDateTime& when, const QLocale& locale = QLocale::system());

}  // namespace trelvan
