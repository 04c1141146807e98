#include "FuzzTargets.h"

// One fuzzer program per target: MARIVELLE_FUZZ_ENTRY names the target's function.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzTargets::MARIVELLE_FUZZ_ENTRY(data, size);
}
