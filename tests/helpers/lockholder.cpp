// Another copy of the program holding the data file: lockholder FILE MILLISECONDS
// takes an exclusive lock, says "locked", keeps it for the given time, then lets go.
#include "data/ChecksumVfs.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    ChecksumVfs::install();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
    if (sqlite3_exec(db, "BEGIN EXCLUSIVE; UPDATE SECURITY SET [PASSWORD]=[PASSWORD];", nullptr,
                     nullptr, nullptr) != SQLITE_OK)
        return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return 0;
}
