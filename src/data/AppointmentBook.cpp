#include "AppointmentBook.h"

#include "Global.h"
#include "WeekdayText.h"

#include <QStringList>
#include <QTime>

namespace AppointmentBook {

namespace {
QTime slotStart(int k) {
    return QTime(8, 0).addSecs(30 * 60 * (k - 1));
}

// The text as a LIKE pattern found anywhere in a slot: its own "%", "_" and "\" stand for
// themselves, and its quotes cannot end the literal.
QString anywherePattern(QString text) {
    text.remove(QChar(0)); // the store would read the pattern only up to it
    text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return Global::QuotedText(u'%' + text + u'%') + QStringLiteral(" ESCAPE '\\'");
}
} // namespace

QString slotCaption(int k) {
    const QString fmt = QStringLiteral("HH:mm");
    return slotStart(k).toString(fmt) + QStringLiteral(" - ") + slotStart(k + 1).toString(fmt);
}

QString slotColumn(int k) {
    const QString fmt = QStringLiteral("HHmm");
    return slotStart(k).toString(fmt) + u'-' + slotStart(k + 1).toString(fmt);
}

int slotOfColumn(const QString& column) {
    for (int k = 1; k <= kSlots; ++k)
        if (slotColumn(k) == column)
            return k;
    return 0;
}

QString searchSql(const QString& text) {
    // One pass over the book, each day's row taken with each of its 28 slots in turn: a pass
    // per slot would read the whole book 28 times.
    QStringList numbers, texts, times;
    for (int k = 1; k <= kSlots; ++k) {
        numbers << QStringLiteral("(%1)").arg(k);
        texts << QStringLiteral("WHEN %1 THEN R.[%2]").arg(k).arg(slotColumn(k));
        times << QStringLiteral("WHEN %1 THEN '%2'").arg(k).arg(slotCaption(k));
    }
    const QString slotText =
        QStringLiteral("CASE S.column1 ") + texts.join(u' ') + QStringLiteral(" END");
    return QStringLiteral("SELECT R.HMEROMHNIA AS MERA, %1 AS HMERA, CASE S.column1 %2 END AS "
                          "ORA, %3 AS KEIMENO, S.column1 AS SLOT FROM RANTEBOU R CROSS JOIN "
                          "(VALUES %4) S WHERE %3 LIKE %5 ORDER BY MERA DESC, SLOT DESC")
        .arg(WeekdayText::sql(QStringLiteral("R.HMEROMHNIA")), times.join(u' '), slotText,
             numbers.join(u','), anywherePattern(text));
}

} // namespace AppointmentBook
