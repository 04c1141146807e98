#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

// Page checksums for data.mdb. A file made with kReservedBytes reserved at the end of every
// page carries there a checksum of the page, written on every write of a page and checked on
// every read of one, so that bytes changed on the disk read as damage instead of as other
// data. A file without the reserved bytes (an older one) is read and written as it is; then
// only SQLite's own checks apply. Journals and temporary files pass straight through.
//
// The layer wraps the process's default way of opening files and becomes the default itself:
// every SQLite connection of the process keeps the checksums, whoever opens it.
namespace ChecksumVfs {

inline constexpr int kReservedBytes = 8;

// Registers the layer once, as the default; cheap to call again. Call it before the first
// connection of the process is opened.
void install();

// The checking layer's name, and the name of one that writes the checksums without checking
// them on reading: for sealing a file edited by a program that left them stale.
const char* name();
const char* uncheckedName();

// The checksum of a page of that size at that page number (1 for the first); it covers every
// byte but the reserved ones at the end.
std::uint64_t pageChecksum(const unsigned char* page, int pageSize, std::uint32_t pageNumber);

// A page that failed its check marks its file damaged for the life of the process: from then
// on every write to it is refused.
bool isDamaged(const std::string& path);
void markDamaged(const std::string& path);

// Reads every page of the open file once; empty when the file is sound, else what is wrong
// (the file is then marked damaged).
std::string wholeFileCheck(sqlite3* db);

// Writes every page again with a fresh checksum, after SQLite's integrity check has passed;
// the reserved bytes are added to a file without them. Empty on success, else why not.
std::string reseal(const std::string& path);

} // namespace ChecksumVfs
