#include "JetDialect.h"

#include "GreekText.h"
#include "UserError.h"
#include "Values.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>

#include <sqlite3.h>

#include <cmath>
#include <stdexcept>

namespace JetDialect {

namespace {

QString dateLiteral(const QString& body) {
    // #month/day/year#, the form the input checks produce.
    const QStringList parts = body.trimmed().split(u'/');
    bool ok[3] = {false, false, false};
    if (parts.size() == 3) {
        const int m = parts[0].trimmed().toInt(&ok[0]);
        const int d = parts[1].trimmed().toInt(&ok[1]);
        const int y = parts[2].trimmed().toInt(&ok[2]);
        const QDate date(y, m, d);
        if (ok[0] && ok[1] && ok[2] && date.isValid())
            return QLatin1Char('\'') + Values::isoFromDate(date) + QLatin1Char('\'');
    }
    throw UserError(QStringLiteral("Η ημερομηνία '#%1#' της εντολής δεν είναι έγκυρη.").arg(body));
}

QString textArg(sqlite3_value* v) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return t ? QString::fromUtf8(t, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

QDate dateArg(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_TEXT)
        return Values::dateFromIso(textArg(v));
    return {};
}

void datePartFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const QDate d = dateArg(argv[0]);
    if (!d.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto part = reinterpret_cast<intptr_t>(sqlite3_user_data(ctx));
    sqlite3_result_int(ctx, part == 0 ? d.day() : part == 1 ? d.month() : d.year());
}

QString format(const QString& text, bool isNumber, double number, const QString& pattern);

void formatFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString pattern = argc > 1 ? textArg(argv[1]) : QString();
    const bool isNumber = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    resultText(ctx, format(textArg(v), isNumber, isNumber ? sqlite3_value_double(v) : 0, pattern));
}

void likeFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (!pattern || !text) {
        sqlite3_result_null(ctx);
        return;
    }
    char32_t escape = 0;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.toUcs4().size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.toUcs4().at(0);
    }
    sqlite3_result_int(ctx, GreekText::likeUtf8(pattern, text, escape) ? 1 : 0);
}

int nocase(void*, int la, const void* a, int lb, const void* b) {
    return GreekText::compareUtf8(static_cast<const char*>(a), la, static_cast<const char*>(b), lb);
}

QString formatDate(const QDate& d, const QString& pattern) {
    // The date tokens of Jet's Format: d dd m mm yy yyyy; "/" is the Greek date separator.
    QString out;
    const QString p = pattern;
    for (int i = 0; i < p.size();) {
        const QChar c = p[i].toLower();
        int n = 1;
        while (i + n < p.size() && p[i + n].toLower() == c)
            ++n;
        if (c == u'd') {
            out += n >= 2 ? QStringLiteral("%1").arg(d.day(), 2, 10, QLatin1Char('0'))
                          : QString::number(d.day());
        } else if (c == u'm') {
            out += n >= 2 ? QStringLiteral("%1").arg(d.month(), 2, 10, QLatin1Char('0'))
                          : QString::number(d.month());
        } else if (c == u'y') {
            out += n >= 3 ? QString::number(d.year())
                          : QStringLiteral("%1").arg(d.year() % 100, 2, 10, QLatin1Char('0'));
        } else {
            out += p.mid(i, n);
        }
        i += n;
    }
    return out;
}

QString formatNumber(double v, const QString& pattern) {
    const qsizetype dot = pattern.indexOf(u'.');
    int decimals = 0;
    if (dot >= 0)
        for (qsizetype i = dot + 1;
             i < pattern.size() && (pattern[i] == u'0' || pattern[i] == u'#'); ++i)
            ++decimals;
    QString s = Values::fixedText(v, decimals);
    if (pattern.left(dot < 0 ? pattern.size() : dot).contains(u',')) {
        // Thousands grouping with the Greek point.
        const bool neg = s.startsWith(u'-');
        QString body = neg ? s.mid(1) : s;
        qsizetype end = body.indexOf(u',');
        if (end < 0)
            end = body.size();
        for (qsizetype i = end - 3; i > 0; i -= 3)
            body.insert(i, u'.');
        s = neg ? QLatin1Char('-') + body : body;
    }
    return s;
}

QString format(const QString& text, bool isNumber, double number, const QString& pattern) {
    const QString p = pattern.trimmed();
    const bool datePattern = p.contains(u'd', Qt::CaseInsensitive) ||
                             p.contains(u'y', Qt::CaseInsensitive) ||
                             p.contains(u'm', Qt::CaseInsensitive);
    if (!isNumber) {
        const QDate d = Values::dateFromIso(text);
        if (d.isValid())
            return formatDate(d, datePattern ? p : QStringLiteral("d/M/yyyy"));
        double v = 0;
        bool ok = false;
        v = text.trimmed().toDouble(&ok);
        if (!ok || datePattern)
            return text;
        number = v;
    }
    if (p.isEmpty())
        return Values::numberText(number);
    return formatNumber(number, p);
}

} // namespace

QString translate(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 16);
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'[') {
            // Single-quoted text and bracketed names pass as they are.
            const QChar close = c == u'\'' ? u'\'' : u']';
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == close) {
                    if (close == u'\'' && j + 1 < n && sql[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == u'"') {
            // Jet reads double quotes as text; the store needs single quotes.
            QString body;
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == u'"') {
                    if (j + 1 < n && sql[j + 1] == u'"') {
                        body += u'"';
                        j += 2;
                        continue;
                    }
                    break;
                }
                if (sql[j] == u'\'')
                    body += u'\'';
                body += sql[j];
                ++j;
            }
            out += QLatin1Char('\'') + body + QLatin1Char('\'');
            i = j + 1;
        } else if (c == u'#') {
            const qsizetype j = sql.indexOf(u'#', i + 1);
            if (j < 0)
                throw UserError(QStringLiteral("Μια ημερομηνία της εντολής δεν κλείνει με #."));
            out += dateLiteral(sql.mid(i + 1, j - i - 1));
            i = j + 1;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

void install(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "DAY", 1, flags, reinterpret_cast<void*>(intptr_t(0)), datePartFn,
                            nullptr, nullptr);
    sqlite3_create_function(db, "MONTH", 1, flags, reinterpret_cast<void*>(intptr_t(1)), datePartFn,
                            nullptr, nullptr);
    sqlite3_create_function(db, "YEAR", 1, flags, reinterpret_cast<void*>(intptr_t(2)), datePartFn,
                            nullptr, nullptr);
    sqlite3_create_function(db, "Format", 1, flags, nullptr, formatFn, nullptr, nullptr);
    sqlite3_create_function(db, "Format", 2, flags, nullptr, formatFn, nullptr, nullptr);
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFn, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFn, nullptr, nullptr);
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, nocase);
}

} // namespace JetDialect
