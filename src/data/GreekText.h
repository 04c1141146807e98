#pragma once

#include <QString>
#include <QStringView>

// Text comparison the way a Greek front desk expects it: without regard to case, accents
// (tonos, dialytika) or final sigma. "Παπαδόπουλος", "ΠΑΠΑΔΟΠΟΥΛΟΣ" and "παπαδοπουλος" are equal.
namespace GreekText {

char32_t fold(char32_t c);
QString folded(QStringView text);

// Compares two texts after folding; ties are broken by the plain text so that an order is total.
int compare(QStringView a, QStringView b);

// The same on UTF-8 bytes, as the store hands them to a collation.
int compareUtf8(const char* a, int lenA, const char* b, int lenB);

// SQL LIKE: "%" any run, "_" one character, optional escape character.
bool like(QStringView pattern, QStringView text, char32_t escape = 0);
bool likeUtf8(const char* pattern, const char* text, char32_t escape = 0);

} // namespace GreekText
