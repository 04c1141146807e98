#include "Property.h"

#include "data/JetDialect.h"

#include <QStringDecoder>
#include <QStringList>

#include <sqlite3.h>

namespace Fuzz {

QString utf8(QByteArrayView bytes) {
    // A leading U+FEFF is a character of the text here, not a byte order mark.
    QStringDecoder d(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return d.decode(bytes);
}

std::string withPoint(const QString& typed) {
    std::string out;
    for (QChar ch : typed) {
        const char c = ch == u',' ? '.' : char(ch.unicode());
        if (c == '.' && (out.empty() || out == "+" || out == "-"))
            out += '0';
        out += c;
    }
    return out;
}

QString shown(const QString& s) {
    QString out;
    for (QChar c : s) {
        if (c.unicode() < 0x20 || c.category() == QChar::Other_Format)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

sqlite3* store() {
    static sqlite3* db = [] {
        sqlite3* h = nullptr;
        if (sqlite3_open(":memory:", &h) != SQLITE_OK)
            std::abort();
        JetDialect::install(h);
        return h;
    }();
    return db;
}

bool selectRow(const QString& sql, QStringList* columns, QString* error) {
    const QByteArray u = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(store(), u.constData(), int(u.size()), &st, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(store()));
        sqlite3_finalize(st);
        return false;
    }
    columns->clear();
    const bool row = sqlite3_step(st) == SQLITE_ROW;
    if (row) {
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            columns->append(t ? utf8(QByteArrayView(t, sqlite3_column_bytes(st, c))) : QString());
        }
    } else if (error) {
        *error = QString::fromUtf8(sqlite3_errmsg(store()));
    }
    sqlite3_finalize(st);
    return row;
}

} // namespace Fuzz
