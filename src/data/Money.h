#pragma once

#include <QString>

#include <optional>

// The receipt's arithmetic. Products and quotients are formed with a 64-bit significand
// (long double on x86-64) and stored as doubles, so that every receipt's cents come out the
// same way whatever the amount.
namespace Money {

// Pounds per euro, the fixed conversion rate of the Cyprus pound.
inline constexpr double kPoundsPerEuro = 0.585274;

// The largest total one receipt may carry, in euro.
inline constexpr double kLargestTotal = 999999.99;

// Reads a typed amount or rate the Greek way: an optional sign, digits, "," before the
// decimals, an optional exponent (e or E); no blanks, no thousands separators. The result is
// the double nearest to the text; a value too large for a double reads as infinity.
std::optional<double> parseTyped(const QString& text);

// To the cent: divide by the double 0.01 (a little above one hundredth), round to the nearest
// whole number with ties to even, multiply back by the same 0.01. So a binary half such as
// 1.875 goes down to 1.87, while 0.225 (a little above the half) goes up to 0.23.
double roundToCents(double value);

double cyprusPounds(double amount);            // amount × 0.585274, to the cent
double vat(double amount, double ratePercent); // amount × rate ÷ 100, to the cent
// The VAT as its statement text says it, plus the amount; not rounded.
double total(double vat, double amount);

// How a number is written into a statement: at most 15 significant digits, "." before the
// decimals, no trailing zeros (20, 12.5, 1.87), and the exponent form below 0.00001 or past
// 15 integer digits (1E-6, 1.5E20). Empty for a value that is not finite.
QString statementText(double value);

// The values of one receipt, worked out from the typed amount and the rate.
struct Receipt {
    double amount = 0;
    double pounds = 0;
    double vat = 0;
    double total = 0;
    // An amount above 0 whose every derived value is a finite number and whose total, to the
    // cent, is at least 0,01 and at most kLargestTotal: a receipt of 0,00 would use up a number
    // for nothing, and one past the bound is a slip of the keyboard.
    bool isAcceptable() const;
};
Receipt work(double amount, double ratePercent);

// Who receives one receipt and for what; numbers as the texts they are.
struct Entry {
    QString customerId;
    QString name;
    QString surname;
    QString number;
    QString description;
    QString fund;
    QString payer() const; // name, one blank, surname, each trimmed
};

// The collection row and the receipt row, in the column order the register reads.
QString collectionInsert(const Entry& entry, const Receipt& r);
QString receiptInsert(const Entry& entry, const Receipt& r);

} // namespace Money
