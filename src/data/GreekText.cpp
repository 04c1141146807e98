#include "GreekText.h"

#include <QChar>
#include <QList>
#include <QVarLengthArray>

#include <array>
#include <memory>

namespace GreekText {

namespace {

using Table = std::array<char16_t, 0x10000>;

char16_t baseLetter(char16_t c) {
    // Strip canonical decompositions down to the base letter: ά -> α, ΐ -> ι.
    for (int guard = 0; guard < 4; ++guard) {
        const QChar q(c);
        if (q.decompositionTag() != QChar::Canonical)
            break;
        const QString d = q.decomposition();
        if (d.isEmpty() || d.at(0).isHighSurrogate())
            break;
        c = d.at(0).unicode();
    }
    return c;
}

const Table& table() {
    static const std::unique_ptr<Table> t = [] {
        auto tab = std::make_unique<Table>();
        for (unsigned i = 0; i < 0x10000; ++i) {
            char16_t c = QChar(char16_t(i)).toLower().unicode();
            c = baseLetter(c);
            c = QChar(c).toLower().unicode();
            if (c == u'ς')
                c = u'σ';
            (*tab)[i] = c;
        }
        return tab;
    }();
    return *t;
}

// Decodes one code point; malformed bytes come through as themselves.
char32_t nextUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char c = *p++;
    if (c < 0x80 || p > end)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = c & (0x3F >> extra);
    while (extra-- > 0 && p < end && (*p & 0xC0) == 0x80)
        cp = (cp << 6) | (*p++ & 0x3F);
    return cp;
}

using Folded = QVarLengthArray<char32_t, 128>;

void foldInto(QStringView s, Folded& out) {
    out.clear();
    for (char32_t cp : s.toUcs4())
        out.append(fold(cp));
}

void foldUtf8Into(const char* s, Folded& out) {
    out.clear();
    if (!s)
        return;
    auto p = reinterpret_cast<const unsigned char*>(s);
    const unsigned char* end = p;
    while (*end)
        ++end;
    while (p < end)
        out.append(fold(nextUtf8(p, end)));
}

bool match(const char32_t* p, const char32_t* pe, const char32_t* t, const char32_t* te,
           char32_t esc) {
    while (p < pe) {
        char32_t c = *p;
        if (esc && c == esc && p + 1 < pe) {
            if (t == te || *t != p[1])
                return false;
            p += 2;
            ++t;
            continue;
        }
        if (c == U'%') {
            while (p < pe && (*p == U'%' || *p == U'_')) {
                if (*p == U'_') {
                    if (t == te)
                        return false;
                    ++t;
                }
                ++p;
            }
            if (p == pe)
                return true;
            for (; t <= te; ++t)
                if (match(p, pe, t, te, esc))
                    return true;
            return false;
        }
        if (t == te)
            return false;
        if (c != U'_' && c != *t)
            return false;
        ++p;
        ++t;
    }
    return t == te;
}

} // namespace

char32_t fold(char32_t c) {
    return c < 0x10000 ? table()[c] : c;
}

QString folded(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    const Table& t = table();
    QChar* o = out.data();
    for (QChar c : text)
        *o++ = QChar(t[c.unicode()]);
    return out;
}

int compare(QStringView a, QStringView b) {
    const Table& t = table();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = t[a[i].unicode()], y = t[b[i].unicode()];
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareUtf8(const char* a, int lenA, const char* b, int lenB) {
    auto pa = reinterpret_cast<const unsigned char*>(a);
    auto pb = reinterpret_cast<const unsigned char*>(b);
    const auto ea = pa + lenA, eb = pb + lenB;
    while (pa < ea && pb < eb) {
        const char32_t x = fold(nextUtf8(pa, ea)), y = fold(nextUtf8(pb, eb));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (pa < ea)
        return 1;
    if (pb < eb)
        return -1;
    return 0;
}

bool like(QStringView pattern, QStringView text, char32_t escape) {
    Folded p, t;
    foldInto(pattern, p);
    foldInto(text, t);
    return match(p.data(), p.data() + p.size(), t.data(), t.data() + t.size(), fold(escape));
}

bool likeUtf8(const char* pattern, const char* text, char32_t escape) {
    Folded p, t;
    foldUtf8Into(pattern, p);
    foldUtf8Into(text, t);
    return match(p.data(), p.data() + p.size(), t.data(), t.data() + t.size(), fold(escape));
}

} // namespace GreekText
