#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// The fuzzed readers and writers, each one function of the libFuzzer shape. Every one checks
// properties of the result and aborts, naming the property and the input, when one fails.
namespace FuzzTargets {

using Entry = int (*)(const uint8_t* data, size_t size);

int cleanText(const uint8_t* data, size_t size);
int jetDate(const uint8_t* data, size_t size);
int typedDate(const uint8_t* data, size_t size);
int typedNumber(const uint8_t* data, size_t size);
int moneyAmount(const uint8_t* data, size_t size);
int dialect(const uint8_t* data, size_t size);
int report(const uint8_t* data, size_t size);

struct Target {
    const char* name; // also the folder of its corpus, fuzz/corpus/<name>
    Entry run;
};

inline constexpr Target kAll[] = {
    {"clean_text", cleanText},
    {"jet_date", jetDate},
    {"typed_date", typedDate},
    {"typed_number", typedNumber},
    {"money_amount", moneyAmount},
    {"dialect", dialect},
    {"report", report},
};

} // namespace FuzzTargets
