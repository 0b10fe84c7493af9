#include "app/parts/locale_texts.h"

namespace trelvan {

QString WithoutTimeZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') {
      while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
      continue;
    }
    out += c;
  }
  return out.trimmed();
}

DateTimeTexts LocaleDateTimeTexts(const QDateTime& when, const QLocale& locale) {
  return {locale.toString(when.date(), locale.dateFormat(QLocale::ShortFormat)),
          locale.toString(when.time(), WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)))};
}

}  // namespace trelvan
