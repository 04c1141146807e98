#include "FuzzTargets.h"
#include "Property.h"

#include "data/Global.h"
#include "data/JetDialect.h"

#include <QStringList>

#include <cctype>
#include <stdexcept>

// A clean text is one the screens splice between quotes without doubling anything: it must
// hold no ASCII punctuation but "/", and between quotes it must reach the store unchanged.
int FuzzTargets::cleanText(const uint8_t* data, size_t size) {
    Fuzz::Input in(data, size);
    const QString t = Fuzz::text(data, size);
    bool punctuation = false;
    for (QChar c : t)
        if (c.unicode() < 0x80 && std::ispunct(int(c.unicode())) && c != u'/')
            punctuation = true;
    const bool clean = Global::IsCleanText(t);
    if (punctuation) {
        Fuzz::require(!clean, "a text with ASCII punctuation is not clean", Fuzz::shown(t));
        return 0;
    }
    if (!clean)
        return 0;
    // The way the screens use it: between quotes, in a statement that the dialect rewrites.
    const QString sql = QStringLiteral("SELECT '") + t + QStringLiteral("', 1");
    QString rewritten;
    try {
        rewritten = JetDialect::translate(sql);
    } catch (const std::runtime_error& e) {
        Fuzz::fail("a clean text spliced between quotes is a valid statement", Fuzz::shown(t));
    }
    QStringList row;
    QString error;
    Fuzz::require(Fuzz::selectRow(rewritten, &row, &error),
                  "a clean text spliced between quotes is a valid statement",
                  Fuzz::shown(t) + QStringLiteral(": ") + error);
    Fuzz::require(row.size() == 2 && row.at(0) == t && row.at(1) == u"1",
                  "a clean text spliced between quotes reads back unchanged",
                  Fuzz::shown(t) + QStringLiteral(" read as ") + Fuzz::shown(row.value(0)));
    return 0;
}
