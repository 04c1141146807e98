#pragma once

#include <chrono>
#include <functional>

struct sqlite3;

// How a connection waits while another program holds the data file: in short sleeps up to the
// connection's limit, telling one watcher of the program at every step, so that the screens can
// show that they are waiting and keep painting instead of freezing.
namespace BusyWait {

enum class Phase {
    Started, // the file was found held; nothing slept yet
    Waiting, // after each sleep
    GaveUp,  // the limit passed: the statement fails as busy
};

struct Step {
    Phase phase;
    int waitedMs;
    int limitMs;
};

// Called on the waiting thread, from inside the store: it may repaint windows, but must not
// use the connection that waits.
using Hook = std::function<void(const Step&)>;

// The program's one watcher; an empty hook for none.
void setHook(Hook hook);

// True while a connection is inside its wait, and so also while the watcher runs: whatever
// runs then must leave the data file alone.
bool isWaiting();

// One connection's wait; it must outlive the handle it is installed on.
struct Wait {
    int limitMs = 0;
    std::chrono::steady_clock::time_point started;
};

// Makes the handle wait for locks as above, up to wait->limitMs.
void install(sqlite3* handle, Wait* wait);

} // namespace BusyWait
