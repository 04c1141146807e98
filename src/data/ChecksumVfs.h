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
// The first page also carries the file change counter it was sealed at. SQLite raises that
// counter in the header on every write transaction and never touches the reserved bytes, so
// a first page whose checksum is stale and whose counter moved past the sealed one was
// written by another program; one whose counter did not move was changed with no writer at
// all: damage.
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

// A page that failed its check marks its file for the life of the process: from then on every
// write to it is refused. A stale first page marks it as changed by another program.
enum class Mark { None, ChangedOutside, Damaged };
bool isDamaged(const std::string& path); // marked either way
Mark markOf(const std::string& path);
void markDamaged(const std::string& path, Mark mark = Mark::Damaged);
// The mark of the file whose page failed last in this process (for telling the two apart in
// a message), None when none has.
Mark lastMark();

// What the pages of a file say, read straight from the disk on a connection opened through
// uncheckedName() that holds at least a read lock.
enum class State {
    Sealed,         // every page matches its checksum
    Unsealed,       // an older file without the reserved bytes: nothing to check
    ChangedOutside, // another program wrote it since it was last sealed
    Damaged,        // a page changed with no writer, or the header is not sound
};
struct Inspection {
    State state = State::Sealed;
    std::string detail; // which page, for a damaged file
};
Inspection inspect(sqlite3* uncheckedDb);
// The same from the header and the first page alone: enough to tell another program's write;
// "Sealed" then says nothing of the other pages, which the checked reads go on to check.
Inspection inspectFirstPage(sqlite3* uncheckedDb);

// Writes every page's reserved bytes anew, the first page last, without changing a byte of
// the data; the connection (opened through uncheckedName()) must hold the exclusive lock.
// Empty on success, else why not.
std::string sealInPlace(sqlite3* uncheckedDb);

// Reads every page of the open file once; empty when the file is sound, else what is wrong
// (the file is then marked damaged).
std::string wholeFileCheck(sqlite3* db);

// Seals a file again after SQLite's integrity check has passed: in place, so that no row
// moves, or, for a file without the reserved bytes, by rewriting it with them. Empty on
// success, else why not.
std::string reseal(const std::string& path);

} // namespace ChecksumVfs
