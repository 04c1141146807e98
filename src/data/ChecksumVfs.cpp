#include "ChecksumVfs.h"

#include <sqlite3.h>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace ChecksumVfs {
namespace {

sqlite3_vfs* g_base = nullptr;
sqlite3_vfs g_checked;
sqlite3_vfs g_unchecked;
std::once_flag g_once;

std::mutex g_damagedMutex;
std::map<std::string, Mark> g_marks;
Mark g_lastMark = Mark::None;

// What the layer knows of one open file. SQLite allocates szOsFile bytes for it; the file of
// the layer below follows right behind.
struct File {
    sqlite3_file base;
    sqlite3_file* below;
    const char* path; // valid until close, as SQLite promises for a main database
    bool mainDb;
    bool verify;
    int pageSize;
    int reserved;
    unsigned char* scratch;
    int scratchSize;
};

File* asFile(sqlite3_file* f) {
    return reinterpret_cast<File*>(f);
}

std::uint64_t readBigEndian(const unsigned char* p, int bytes = 8) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

void writeBigEndian(unsigned char* p, std::uint64_t v, int bytes = 8) {
    for (int i = bytes - 1; i >= 0; --i) {
        p[i] = static_cast<unsigned char>(v);
        v >>= 8;
    }
}

// The file change counter in the header of a first page.
std::uint32_t changeCounter(const unsigned char* firstPage) {
    return static_cast<std::uint32_t>(readBigEndian(firstPage + 24, 4));
}

// Fills a page's reserved bytes: its checksum, and on the first page the change counter it
// is sealed at beside a 32-bit checksum.
void sealPage(unsigned char* page, int size, std::uint32_t number) {
    unsigned char* reserved = page + size - kReservedBytes;
    const std::uint64_t sum = pageChecksum(page, size, number);
    if (number != 1) {
        writeBigEndian(reserved, sum);
        return;
    }
    writeBigEndian(reserved, changeCounter(page), 4);
    writeBigEndian(reserved + 4, static_cast<std::uint32_t>(sum), 4);
}

enum class Verdict { Good, Stale, Bad };

Verdict verifyPage(const unsigned char* page, int size, std::uint32_t number) {
    const unsigned char* reserved = page + size - kReservedBytes;
    const std::uint64_t sum = pageChecksum(page, size, number);
    if (number != 1)
        return sum == readBigEndian(reserved) ? Verdict::Good : Verdict::Bad;
    const std::uint32_t sealedAt = static_cast<std::uint32_t>(readBigEndian(reserved, 4));
    if (sealedAt == changeCounter(page) &&
        static_cast<std::uint32_t>(sum) == readBigEndian(reserved + 4, 4))
        return Verdict::Good;
    // A first page sealed before the counter was kept there carries the whole checksum.
    if (sum == readBigEndian(reserved))
        return Verdict::Good;
    return sealedAt != changeCounter(page) ? Verdict::Stale : Verdict::Bad;
}

// SQLite never uses the page that holds the lock bytes of a file past 1 GiB.
bool isLockBytePage(std::uint32_t number, int pageSize) {
    constexpr sqlite3_int64 kPendingByte = 0x40000000;
    return number == static_cast<std::uint32_t>(kPendingByte / pageSize + 1);
}

// The page size and reserved bytes as the file header at the start of the buffer says.
void noteHeader(File* f, const unsigned char* b, int amount) {
    if (amount < 21 || std::memcmp(b, "SQLite format 3", 16) != 0)
        return;
    const int size = (b[16] << 8) | b[17];
    f->pageSize = size == 1 ? 65536 : size;
    f->reserved = b[20];
}

bool isWholePage(const File* f, int amount, sqlite3_int64 offset) {
    return f->mainDb && f->reserved == kReservedBytes && f->pageSize >= 512 &&
           amount == f->pageSize && offset % amount == 0;
}

std::uint32_t pageNumberAt(sqlite3_int64 offset, int pageSize) {
    return static_cast<std::uint32_t>(offset / pageSize + 1);
}

// A first page whose header says nothing is reserved, yet which ends in the checksum it would
// have had with our reserved bytes: the header's byte was changed on the disk.
bool headerLostItsReserve(File* f, const unsigned char* page, int amount) {
    if (f->reserved == kReservedBytes || amount < 512 || amount != f->pageSize)
        return false;
    if (f->scratchSize < amount)
        return false;
    std::memcpy(f->scratch, page, amount);
    f->scratch[20] = kReservedBytes;
    return verifyPage(f->scratch, amount, 1) == Verdict::Good;
}

bool ensureScratch(File* f, int amount) {
    if (f->scratchSize >= amount)
        return true;
    auto* grown = static_cast<unsigned char*>(sqlite3_realloc(f->scratch, amount));
    if (!grown)
        return false;
    f->scratch = grown;
    f->scratchSize = amount;
    return true;
}

int xClose(sqlite3_file* file) {
    File* f = asFile(file);
    const int rc = f->below->pMethods->xClose(f->below);
    sqlite3_free(f->scratch);
    f->scratch = nullptr;
    return rc;
}

int xRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    File* f = asFile(file);
    const int rc = f->below->pMethods->xRead(f->below, buffer, amount, offset);
    if (rc != SQLITE_OK || !f->mainDb)
        return rc;
    const auto* b = static_cast<const unsigned char*>(buffer);
    if (offset == 0)
        noteHeader(f, b, amount);
    if (!f->verify)
        return rc;
    Verdict verdict = Verdict::Good;
    if (isWholePage(f, amount, offset)) {
        verdict = verifyPage(b, amount, pageNumberAt(offset, amount));
    } else if (offset == 0 && amount == f->pageSize && ensureScratch(f, amount)) {
        if (headerLostItsReserve(f, b, amount))
            verdict = Verdict::Bad;
    }
    if (verdict == Verdict::Good)
        return rc;
    markDamaged(f->path, verdict == Verdict::Stale ? Mark::ChangedOutside : Mark::Damaged);
    return SQLITE_IOERR_DATA;
}

int xWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    File* f = asFile(file);
    if (!f->mainDb)
        return f->below->pMethods->xWrite(f->below, buffer, amount, offset);
    // Writing into a damaged file could only spread the damage; the unchecked way in, which
    // only seals, is the one exception.
    if (f->verify && isDamaged(f->path))
        return SQLITE_IOERR_DATA;
    if (offset == 0)
        noteHeader(f, static_cast<const unsigned char*>(buffer), amount);
    if (!isWholePage(f, amount, offset))
        return f->below->pMethods->xWrite(f->below, buffer, amount, offset);
    if (!ensureScratch(f, amount))
        return SQLITE_IOERR_NOMEM;
    std::memcpy(f->scratch, buffer, amount);
    sealPage(f->scratch, amount, pageNumberAt(offset, amount));
    return f->below->pMethods->xWrite(f->below, f->scratch, amount, offset);
}

int xTruncate(sqlite3_file* file, sqlite3_int64 size) {
    File* f = asFile(file);
    if (f->mainDb && f->verify && isDamaged(f->path))
        return SQLITE_IOERR_DATA;
    return f->below->pMethods->xTruncate(f->below, size);
}

int xSync(sqlite3_file* file, int flags) {
    return asFile(file)->below->pMethods->xSync(asFile(file)->below, flags);
}

int xFileSize(sqlite3_file* file, sqlite3_int64* size) {
    return asFile(file)->below->pMethods->xFileSize(asFile(file)->below, size);
}

int xLock(sqlite3_file* file, int level) {
    File* f = asFile(file);
    // No write begins on a damaged file, not even a journal of one.
    if (level >= SQLITE_LOCK_RESERVED && f->mainDb && f->verify && isDamaged(f->path))
        return SQLITE_IOERR_DATA;
    return f->below->pMethods->xLock(f->below, level);
}

int xUnlock(sqlite3_file* file, int level) {
    return asFile(file)->below->pMethods->xUnlock(asFile(file)->below, level);
}

int xCheckReservedLock(sqlite3_file* file, int* out) {
    return asFile(file)->below->pMethods->xCheckReservedLock(asFile(file)->below, out);
}

int xFileControl(sqlite3_file* file, int op, void* arg) {
    return asFile(file)->below->pMethods->xFileControl(asFile(file)->below, op, arg);
}

int xSectorSize(sqlite3_file* file) {
    return asFile(file)->below->pMethods->xSectorSize(asFile(file)->below);
}

int xDeviceCharacteristics(sqlite3_file* file) {
    return asFile(file)->below->pMethods->xDeviceCharacteristics(asFile(file)->below);
}

int xShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
    sqlite3_file* below = asFile(file)->below;
    return below->pMethods->xShmMap(below, region, size, extend, out);
}

int xShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return asFile(file)->below->pMethods->xShmLock(asFile(file)->below, offset, n, flags);
}

void xShmBarrier(sqlite3_file* file) {
    asFile(file)->below->pMethods->xShmBarrier(asFile(file)->below);
}

int xShmUnmap(sqlite3_file* file, int deleteFlag) {
    return asFile(file)->below->pMethods->xShmUnmap(asFile(file)->below, deleteFlag);
}

// Version 2: no memory-mapped reads, which would pass by the check.
const sqlite3_io_methods g_methods = {2,
                                      xClose,
                                      xRead,
                                      xWrite,
                                      xTruncate,
                                      xSync,
                                      xFileSize,
                                      xLock,
                                      xUnlock,
                                      xCheckReservedLock,
                                      xFileControl,
                                      xSectorSize,
                                      xDeviceCharacteristics,
                                      xShmMap,
                                      xShmLock,
                                      xShmBarrier,
                                      xShmUnmap,
                                      nullptr,
                                      nullptr};

int xOpen(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    File* f = asFile(file);
    std::memset(f, 0, sizeof(File));
    f->below = reinterpret_cast<sqlite3_file*>(f + 1);
    const int rc = g_base->xOpen(g_base, name, f->below, flags, outFlags);
    if (rc != SQLITE_OK || !f->below->pMethods)
        return rc;
    f->path = name;
    f->mainDb = name && (flags & SQLITE_OPEN_MAIN_DB);
    f->verify = vfs == &g_checked;
    f->base.pMethods = &g_methods;
    return rc;
}

int xDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return g_base->xDelete(g_base, name, syncDir);
}

int xAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return g_base->xAccess(g_base, name, flags, out);
}

int xFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return g_base->xFullPathname(g_base, name, size, out);
}

void* xDlOpen(sqlite3_vfs*, const char* name) {
    return g_base->xDlOpen(g_base, name);
}

void xDlError(sqlite3_vfs*, int size, char* out) {
    g_base->xDlError(g_base, size, out);
}

void (*xDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
    return g_base->xDlSym(g_base, handle, symbol);
}

void xDlClose(sqlite3_vfs*, void* handle) {
    g_base->xDlClose(g_base, handle);
}

int xRandomness(sqlite3_vfs*, int size, char* out) {
    return g_base->xRandomness(g_base, size, out);
}

int xSleep(sqlite3_vfs*, int microseconds) {
    return g_base->xSleep(g_base, microseconds);
}

int xCurrentTime(sqlite3_vfs*, double* out) {
    return g_base->xCurrentTime(g_base, out);
}

int xGetLastError(sqlite3_vfs*, int size, char* out) {
    return g_base->xGetLastError ? g_base->xGetLastError(g_base, size, out) : 0;
}

int xCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    if (g_base->iVersion >= 2 && g_base->xCurrentTimeInt64)
        return g_base->xCurrentTimeInt64(g_base, out);
    double days = 0;
    const int rc = g_base->xCurrentTime(g_base, &days);
    *out = static_cast<sqlite3_int64>(days * 86400000.0);
    return rc;
}

void fill(sqlite3_vfs& vfs, const char* vfsName) {
    std::memset(&vfs, 0, sizeof vfs);
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(File)) + g_base->szOsFile;
    vfs.mxPathname = g_base->mxPathname;
    vfs.zName = vfsName;
    vfs.xOpen = xOpen;
    vfs.xDelete = xDelete;
    vfs.xAccess = xAccess;
    vfs.xFullPathname = xFullPathname;
    vfs.xDlOpen = xDlOpen;
    vfs.xDlError = xDlError;
    vfs.xDlSym = xDlSym;
    vfs.xDlClose = xDlClose;
    vfs.xRandomness = xRandomness;
    vfs.xSleep = xSleep;
    vfs.xCurrentTime = xCurrentTime;
    vfs.xGetLastError = xGetLastError;
    vfs.xCurrentTimeInt64 = xCurrentTimeInt64;
}

std::string lastError(sqlite3* db) {
    return std::string(sqlite3_errmsg(db)) + " (" + std::to_string(sqlite3_extended_errcode(db)) +
           ")";
}

// The rows of a statement joined by new lines, or the error that stopped it.
bool rowsOf(sqlite3* db, const char* sql, std::string& out) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        out = lastError(db);
        return false;
    }
    out.clear();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (!out.empty())
            out += '\n';
        const unsigned char* text = sqlite3_column_text(st, 0);
        out += text ? reinterpret_cast<const char*>(text) : "";
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        out = lastError(db);
        return false;
    }
    return true;
}

} // namespace

void install() {
    std::call_once(g_once, [] {
        sqlite3_initialize();
        g_base = sqlite3_vfs_find(nullptr);
        fill(g_checked, "marivelle");
        fill(g_unchecked, "marivelle-unchecked");
        sqlite3_vfs_register(&g_unchecked, 0);
        sqlite3_vfs_register(&g_checked, 1);
    });
}

const char* name() {
    return "marivelle";
}

const char* uncheckedName() {
    return "marivelle-unchecked";
}

std::uint64_t pageChecksum(const unsigned char* page, int pageSize, std::uint32_t pageNumber) {
    // Word by word, each folded in with a multiply and a rotation, so that a changed, swapped
    // or shifted byte changes the result; the page number makes a page written in another
    // page's place fail too.
    std::uint64_t h = 0x9ae16a3b2f90404fULL ^ (std::uint64_t(pageNumber) * 0xc3a5c85c97cb3127ULL);
    const int words = (pageSize - kReservedBytes) / 8;
    for (int i = 0; i < words; ++i) {
        std::uint64_t w;
        std::memcpy(&w, page + i * 8, 8);
        h ^= w * 0x87c37b91114253d5ULL;
        h = ((h << 31) | (h >> 33)) * 0x4cf5ad432745937fULL + 0x52dce729;
    }
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 29;
    return h;
}

bool isDamaged(const std::string& path) {
    return markOf(path) != Mark::None;
}

Mark markOf(const std::string& path) {
    const std::lock_guard lock(g_damagedMutex);
    const auto it = g_marks.find(path);
    return it == g_marks.end() ? Mark::None : it->second;
}

void markDamaged(const std::string& path, Mark mark) {
    if (path.empty() || mark == Mark::None)
        return;
    const std::lock_guard lock(g_damagedMutex);
    Mark& kept = g_marks[path];
    // Damage once seen is not taken back by a page that was only stale.
    if (kept != Mark::Damaged)
        kept = mark;
    g_lastMark = kept;
}

Mark lastMark() {
    const std::lock_guard lock(g_damagedMutex);
    return g_lastMark;
}

std::string wholeFileCheck(sqlite3* db) {
    std::string verdict;
    const bool ran = rowsOf(db, "PRAGMA quick_check", verdict);
    if (ran && verdict == "ok")
        return {};
    if (const char* path = sqlite3_db_filename(db, "main"))
        markDamaged(path);
    return verdict.empty() ? std::string("quick_check gave no answer") : verdict;
}

namespace {

// The layer's own file under a connection, or null.
File* layerFileOf(sqlite3* db) {
    sqlite3_file* top = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &top) != SQLITE_OK || !top ||
        top->pMethods != &g_methods)
        return nullptr;
    return asFile(top);
}

bool readBelow(File* f, std::vector<unsigned char>& into, int amount, sqlite3_int64 offset) {
    into.resize(amount);
    return f->below->pMethods->xRead(f->below, into.data(), amount, offset) == SQLITE_OK;
}

struct Layout {
    int pageSize = 0;
    int reserved = 0;
    std::uint32_t pages = 0;
    std::string fault; // why the header cannot be trusted
};

Layout layoutOf(File* f) {
    Layout l;
    sqlite3_int64 size = 0;
    std::vector<unsigned char> header;
    if (f->below->pMethods->xFileSize(f->below, &size) != SQLITE_OK || size < 100 ||
        !readBelow(f, header, 100, 0) || std::memcmp(header.data(), "SQLite format 3", 16) != 0) {
        l.fault = "the file does not begin as a database";
        return l;
    }
    const int raw = (header[16] << 8) | header[17];
    l.pageSize = raw == 1 ? 65536 : raw;
    l.reserved = header[20];
    if (l.pageSize < 512 || (l.pageSize & (l.pageSize - 1)) != 0 || size % l.pageSize != 0) {
        l.fault = "the file's length is not a whole number of its pages";
        return l;
    }
    l.pages = static_cast<std::uint32_t>(size / l.pageSize);
    // The header's count of pages holds when it was written with the present counter.
    const auto counted = static_cast<std::uint32_t>(readBigEndian(header.data() + 28, 4));
    if (readBigEndian(header.data() + 92, 4) == readBigEndian(header.data() + 24, 4) &&
        counted > l.pages)
        l.fault = "the file is shorter than its header says";
    return l;
}

} // namespace

Inspection inspectFirstPage(sqlite3* db) {
    File* f = layerFileOf(db);
    if (!f)
        return {State::Damaged, "the file was not opened through the checksum layer"};
    const Layout l = layoutOf(f);
    if (!l.fault.empty())
        return {State::Damaged, l.fault};
    std::vector<unsigned char> page;
    if (!readBelow(f, page, l.pageSize, 0))
        return {State::Damaged, "the first page cannot be read"};
    if (l.reserved != kReservedBytes) {
        page[20] = kReservedBytes;
        if (verifyPage(page.data(), l.pageSize, 1) == Verdict::Good)
            return {State::Damaged, "the header lost its reserved bytes"};
        return {State::Unsealed, {}};
    }
    switch (verifyPage(page.data(), l.pageSize, 1)) {
    case Verdict::Stale:
        return {State::ChangedOutside, {}};
    case Verdict::Bad:
        return {State::Damaged, "page 1"};
    case Verdict::Good:
        break;
    }
    return {State::Sealed, {}};
}

Inspection inspect(sqlite3* db) {
    const Inspection first = inspectFirstPage(db);
    if (first.state != State::Sealed)
        return first;
    File* f = layerFileOf(db);
    const Layout l = layoutOf(f);
    std::vector<unsigned char> page;
    for (std::uint32_t n = 2; n <= l.pages; ++n) {
        if (isLockBytePage(n, l.pageSize))
            continue;
        if (!readBelow(f, page, l.pageSize, sqlite3_int64(n - 1) * l.pageSize))
            return {State::Damaged, "page " + std::to_string(n) + " cannot be read"};
        if (verifyPage(page.data(), l.pageSize, n) != Verdict::Good)
            return {State::Damaged, "page " + std::to_string(n)};
    }
    return {State::Sealed, {}};
}

std::string sealInPlace(sqlite3* db) {
    File* f = layerFileOf(db);
    if (!f)
        return "the file was not opened through the checksum layer";
    const Layout l = layoutOf(f);
    if (!l.fault.empty())
        return l.fault;
    if (l.reserved != kReservedBytes)
        return "the file has no room for the checksums";
    std::vector<unsigned char> page;
    const auto sealAt = [&](std::uint32_t n) {
        const sqlite3_int64 offset = sqlite3_int64(n - 1) * l.pageSize;
        if (!readBelow(f, page, l.pageSize, offset))
            return false;
        if (verifyPage(page.data(), l.pageSize, n) == Verdict::Good)
            return true;
        sealPage(page.data(), l.pageSize, n);
        return f->below->pMethods->xWrite(f->below, page.data(), l.pageSize, offset) == SQLITE_OK;
    };
    // The first page last, once the others are on the disk: cut short, the file still reads
    // as changed by another program and is sealed again at its next opening.
    for (std::uint32_t n = 2; n <= l.pages; ++n)
        if (!isLockBytePage(n, l.pageSize) && !sealAt(n))
            return "page " + std::to_string(n) + " cannot be written";
    if (f->below->pMethods->xSync(f->below, SQLITE_SYNC_FULL) != SQLITE_OK || !sealAt(1) ||
        f->below->pMethods->xSync(f->below, SQLITE_SYNC_FULL) != SQLITE_OK)
        return "the file cannot be written";
    {
        const std::lock_guard lock(g_damagedMutex);
        if (f->path)
            g_marks.erase(f->path);
    }
    return {};
}

std::string reseal(const std::string& path) {
    install();
    sqlite3* db = nullptr;
    std::string out;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, uncheckedName());
    const auto done = [&db](std::string result) {
        sqlite3_close(db);
        return result;
    };
    if (rc != SQLITE_OK)
        return done(db ? lastError(db) : std::string("out of memory"));
    sqlite3_busy_timeout(db, 5000);
    // Checked and sealed under one lock, so that nothing changes in between.
    if (!rowsOf(db, "BEGIN EXCLUSIVE", out))
        return done(out);
    if (!rowsOf(db, "PRAGMA integrity_check", out) || out != "ok")
        return done("the file fails its integrity check: " + out);
    const Inspection seen = inspect(db);
    if (seen.state == State::Damaged && !seen.detail.starts_with("page "))
        return done("the file is damaged: " + seen.detail);
    if (seen.state != State::Unsealed) {
        out = sealInPlace(db);
        std::string ignored;
        rowsOf(db, "COMMIT", ignored);
        return done(out);
    }
    rowsOf(db, "ROLLBACK", out);
    int reserved = kReservedBytes;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserved);
    // VACUUM writes every page again, each with its checksum and room for it.
    if (!rowsOf(db, "VACUUM", out))
        return done(out);
    return done({});
}

} // namespace ChecksumVfs
