#include "BusyWait.h"

#include <sqlite3.h>

#include <algorithm>
#include <iterator>
#include <thread>

namespace BusyWait {

namespace {

Hook& hook() {
    static Hook h;
    return h;
}

int depth = 0;

// Short sleeps first, as most locks are another copy's commit of a few milliseconds; then
// steps short enough for a window to repaint smoothly between them.
constexpr int kSleepsMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50};

void tell(Phase phase, int waitedMs, int limitMs) {
    const Hook& h = hook();
    if (!h)
        return;
    // Nothing may be thrown back through the store.
    try {
        h(Step{phase, waitedMs, limitMs});
    } catch (...) {
    }
}

int elapsedMs(const Wait& wait) {
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - wait.started)
                   .count());
}

int onBusy(void* data, int count) {
    auto& wait = *static_cast<Wait*>(data);
    ++depth;
    struct Leave {
        ~Leave() { --depth; }
    } leave;
    if (count == 0) {
        wait.started = std::chrono::steady_clock::now();
        tell(Phase::Started, 0, wait.limitMs);
    }
    const int waited = elapsedMs(wait);
    if (waited >= wait.limitMs) {
        tell(Phase::GaveUp, waited, wait.limitMs);
        return 0;
    }
    const int step = kSleepsMs[std::min<size_t>(size_t(count), std::size(kSleepsMs) - 1)];
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(step, wait.limitMs - waited)));
    tell(Phase::Waiting, elapsedMs(wait), wait.limitMs);
    return 1;
}

} // namespace

void setHook(Hook h) {
    hook() = std::move(h);
}

bool isWaiting() {
    return depth > 0;
}

void install(sqlite3* handle, Wait* wait) {
    sqlite3_busy_handler(handle, &onBusy, wait);
}

} // namespace BusyWait
