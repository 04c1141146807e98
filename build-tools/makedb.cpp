// Builds the shipped data file from its SQL source: makedb schema.sql data.mdb
#include "data/ChecksumVfs.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: makedb SCHEMA.sql OUTPUT.mdb\n";
        return 2;
    }
    ChecksumVfs::install();
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "makedb: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::stringstream sql;
    sql << in.rdbuf();
    // Build beside the target and rename, so a failed run never leaves half a file.
    const std::string tmp = std::string(argv[2]) + ".tmp";
    std::filesystem::remove(tmp);
    try {
        {
            SQLite::Database db(tmp, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            db.exec(sql.str());
            // Room for a checksum at the end of every page; VACUUM lays the pages out anew.
            int reserved = ChecksumVfs::kReservedBytes;
            sqlite3_file_control(db.getHandle(), "main", SQLITE_FCNTL_RESERVE_BYTES, &reserved);
            db.exec("VACUUM");
        }
        std::filesystem::rename(tmp, argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "makedb: " << e.what() << "\n";
        std::filesystem::remove(tmp);
        return 1;
    }
    return 0;
}
