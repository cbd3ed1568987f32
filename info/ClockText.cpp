#include "ClockText.h"

#include <QLocale>
#include <QString>
#include <QTime>

namespace orbitra {

namespace {

// The long time format without its zone: every unquoted 't' goes, with the
// brackets left empty around it and the blanks and commas left at either end.
// The AM/PM designators keep the locale's own spelling ("Ap") instead of the
// upper or lower case that "AP" and "ap" force; the day period "B", which
// QLocale does not format, becomes them too.
QString clockFormat(const QLocale& locale) {
    const QString pattern = locale.timeFormat(QLocale::LongFormat);
    QString format;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && c == u't') {
            continue;
        } else if (!quoted && (c == u'B' || c.toLower() == u'a')) {
            format += u"Ap";
            if (c != u'B' && i + 1 < pattern.size() && pattern[i + 1].toLower() == u'p') {
                ++i;
            }
            continue;
        }
        format += c;
        if (!quoted && (format.endsWith(u"()") || format.endsWith(u"[]"))) {
            format.chop(2);
        }
    }
    const auto loose = [](QChar c) { return c.isSpace() || c == u','; };
    while (!format.isEmpty() && loose(format.front())) {
        format.remove(0, 1);
    }
    while (!format.isEmpty() && loose(format.back())) {
        format.chop(1);
    }
    return format;
}

}  // namespace

QString clockText(const QTime& time, const QLocale& locale) {
    return locale.toString(time, clockFormat(locale));
}

}  // namespace orbitra
