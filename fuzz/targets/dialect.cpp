#include "FuzzTargets.h"
#include "Property.h"

#include "data/Global.h"
#include "data/JetDialect.h"

#include <QStringList>

#include <stdexcept>

namespace {

// The texts of the quoted literals of a statement in order, as written (quotes included),
// found without the rewrite's help: '...' with '' inside, "..." with "" inside, [names] and
// #dates# skipped.
struct Literal {
    QChar quote;
    QString written; // between the quotes, as in the statement
    QString value;   // what it means
};

QList<Literal> literals(const QString& sql) {
    QList<Literal> out;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == u'[') {
            const qsizetype j = sql.indexOf(u']', i + 1);
            i = j < 0 ? sql.size() : j + 1;
        } else if (c == u'#') {
            const qsizetype j = sql.indexOf(u'#', i + 1);
            i = j < 0 ? sql.size() : j + 1;
        } else if (c == u'\'' || c == u'"') {
            Literal l{c, {}, {}};
            qsizetype j = i + 1;
            bool closed = false;
            while (j < sql.size()) {
                if (sql[j] == c) {
                    if (j + 1 < sql.size() && sql[j + 1] == c) {
                        l.written += QString(2, c);
                        l.value += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                l.written += sql[j];
                l.value += sql[j];
                ++j;
            }
            if (closed)
                out.append(l);
            i = j + 1;
        } else {
            ++i;
        }
    }
    return out;
}

QString doubled(const QString& s, QChar quote) {
    return QString(s).replace(quote, QString(2, quote));
}

void checkStatement(const QString& sql) {
    QString out;
    try {
        out = JetDialect::translate(sql);
    } catch (const std::runtime_error&) {
        return; // a malformed date literal is refused, which is right
    }
    const QString detail = Fuzz::shown(sql) + QStringLiteral(" became ") + Fuzz::shown(out);
    // Every closed literal of the statement is in the rewrite, in order, as the same text.
    qsizetype from = 0;
    for (const Literal& l : literals(sql)) {
        const QString expected = QLatin1Char('\'') + doubled(l.value, u'\'') + QLatin1Char('\'');
        const qsizetype at = out.indexOf(expected, from);
        Fuzz::require(at >= 0, "the rewrite keeps the text of every literal",
                      detail + QStringLiteral(": lost ") + Fuzz::shown(l.value));
        from = at + expected.size();
    }
    // What was rewritten is in the store's dialect already: a second pass changes nothing.
    QString twice;
    try {
        twice = JetDialect::translate(out);
    } catch (const std::runtime_error& e) {
        Fuzz::fail("a rewritten statement can be rewritten again",
                   detail + QStringLiteral(": ") + QString::fromUtf8(e.what()));
    }
    Fuzz::require(twice == out, "a rewritten statement stays as it is",
                  detail + QStringLiteral(" then ") + Fuzz::shown(twice));
}

} // namespace

// The input is a statement; its pieces split at the byte 0x01 are also used as values
// spliced the two ways the screens write text literals, which the store must read back.
int FuzzTargets::dialect(const uint8_t* data, size_t size) {
    Fuzz::Input in(data, size);
    const QString sql = Fuzz::text(data, size);
    checkStatement(sql);

    const QStringList values = sql.split(QChar(0x01));
    QString select = QStringLiteral("SELECT 0");
    for (const QString& v : values) {
        if (v.contains(QChar(0))) // a NUL ends a statement's text; it never reaches one
            return 0;
        select += QStringLiteral(", ") + Global::QuotedText(v) + QStringLiteral(", \"") +
                  doubled(v, u'"') + QStringLiteral("\"");
    }
    checkStatement(select);
    const QString rewritten = JetDialect::translate(select);
    QStringList row;
    QString error;
    Fuzz::require(Fuzz::selectRow(rewritten, &row, &error),
                  "spliced literals make a valid statement",
                  Fuzz::shown(rewritten) + QStringLiteral(": ") + error);
    Fuzz::require(row.size() == 1 + 2 * values.size(), "one column per spliced literal",
                  Fuzz::shown(rewritten));
    for (qsizetype i = 0; i < values.size(); ++i)
        Fuzz::require(row.at(1 + 2 * i) == values.at(i) && row.at(2 + 2 * i) == values.at(i),
                      "a spliced literal reads back unchanged",
                      Fuzz::shown(values.at(i)) + QStringLiteral(" read as ") +
                          Fuzz::shown(row.at(1 + 2 * i)) + QStringLiteral(" and ") +
                          Fuzz::shown(row.at(2 + 2 * i)));
    return 0;
}
