#include "ReceiptRecord.h"

#include "Connection.h"
#include "Store.h"
#include "UserError.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ReceiptRecord {
namespace {

const QByteArray kHeader = QByteArrayLiteral("MARIVELLE RECEIPT RECORD 1\n");

// Both rows as the store keeps them, in this order.
const char* const kReceiptColumns = "r.AR_APODEIKSHS, r.HMEROMHNIA, r.ONOMA, r.EPWNYMO, "
                                    "r.PARALHPTHS, r.POSO, r.TAMEIO, r.POSO_CY, r.PERIGRAFH, "
                                    "r.VAT, r.SYNOLIKO_POSO, r.EGKYRH";
const char* const kCollectionColumns = "k.ID, k.HMEROMHNIA, k.POSO, k.PERIGRAFH, k.TAMEIO, "
                                       "k.POSO_CY, k.AR_APODEIKSHS, k.VAT, k.SYNOLIKO_POSO";
constexpr int kReceiptCount = 12;
constexpr int kCollectionCount = 9;
constexpr int kValidField = 11; // EGKYRH among the receipt's values

quint32 crc32(QByteArrayView data) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char ch : data)
        c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray sealedLine(const QByteArray& body) {
    return body + '\t' + QByteArray::number(crc32(body), 16).rightJustified(8, '0') + '\n';
}

QByteArray escaped(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<QByteArray> unescaped(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '0':
            out += '\0';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

// A value with its type, so that a row put back is the row that was stored.
QByteArray typedValue(const StoreCursor& st, int column) {
    switch (st.storage(column)) {
    case Storage::Integer:
        return 'i' + QByteArray::number(st.integer(column));
    case Storage::Real: {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, st.real(column)).ptr;
        return 'r' + QByteArray(digits, end - digits);
    }
    case Storage::Text:
        return 't' + escaped(st.bytes(column).toByteArray());
    case Storage::Bytes:
        return 'b' + st.bytes(column).toByteArray().toHex();
    default:
        return QByteArrayLiteral("n");
    }
}

bool isTypedValue(const QByteArray& v) {
    if (v.isEmpty())
        return false;
    const QByteArray rest = v.mid(1);
    bool ok = true;
    switch (v[0]) {
    case 'n':
        return rest.isEmpty();
    case 'i':
        rest.toLongLong(&ok);
        return ok;
    case 'r': {
        double d = 0;
        const auto [end, ec] = std::from_chars(rest.constData(), rest.constData() + rest.size(), d);
        return ec == std::errc() && end == rest.constData() + rest.size() && !rest.isEmpty();
    }
    case 't':
        return unescaped(rest).has_value();
    case 'b':
        return rest.size() % 2 == 0;
    default:
        return false;
    }
}

void bindValue(StoreCursor& st, int index, const QByteArray& v) {
    const QByteArray rest = v.mid(1);
    switch (v[0]) {
    case 'i':
        st.bind(index, qlonglong(rest.toLongLong()));
        break;
    case 'r': {
        double d = 0;
        std::from_chars(rest.constData(), rest.constData() + rest.size(), d);
        st.bind(index, d);
        break;
    }
    case 't':
        st.bindUtf8(index, *unescaped(rest));
        break;
    case 'b':
        st.bindBytes(index, QByteArray::fromHex(rest));
        break;
    default:
        st.bind(index, QVariant());
        break;
    }
}

// What the record says of one number. Only what the comparison needs is read from a line;
// its values are read when it is put back.
struct Entry {
    qsizetype at = -1;  // where the body of its first I line begins in the record, -1: none
    qsizetype size = 0; // the body's length, without the checksum
    int line = 0;       // its line number
    bool cancelled = false;
    bool hasReceipt() const { return at >= 0; }
};

struct Parsed {
    QByteArray bytes; // the record as read
    QMap<qint64, Entry> entries;
    QList<int> unreadable;
    QByteArray torn;           // a last line without its end
    qint64 tornNumber = -1;    // its receipt's number, when it can be read
    qint64 completeLength = 0; // bytes up to the end of the last whole line
};

// A whole number of plain digits; none for anything else.
std::optional<qint64> numberIn(const char* b, qsizetype n) {
    if (n <= 0 || n > 18)
        return std::nullopt;
    qint64 v = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (b[i] < '0' || b[i] > '9')
            return std::nullopt;
        v = v * 10 + (b[i] - '0');
    }
    return v;
}

// The fields of a line's body, as pieces of the record.
QList<QByteArrayView> fieldsOf(const char* b, qsizetype n) {
    QList<QByteArrayView> fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= n; ++i)
        if (i == n || b[i] == '\t') {
            fields << QByteArrayView(b + start, i - start);
            start = i + 1;
        }
    return fields;
}

bool readLine(const char* line, qsizetype n, int number, Parsed& p) {
    const auto* tab = static_cast<const char*>(::memrchr(line, '\t', size_t(n)));
    if (!tab || line + n - tab - 1 != 8)
        return false;
    bool ok = false;
    const quint32 crc = QByteArray(tab + 1, 8).toUInt(&ok, 16);
    const qsizetype size = tab - line;
    if (!ok || crc != crc32(QByteArray::fromRawData(line, size)))
        return false;
    const QList<QByteArrayView> f = fieldsOf(line, size);
    if (f[0] == "C" && f.size() == 3) {
        const std::optional<qint64> n = numberIn(f[1].data(), f[1].size());
        if (!n)
            return false;
        p.entries[*n].cancelled = true;
        return true;
    }
    if (f[0] != "I" || f.size() != 1 + kReceiptCount + kCollectionCount || !f[1].startsWith('i'))
        return false;
    const std::optional<qint64> receipt = numberIn(f[1].data() + 1, f[1].size() - 1);
    if (!receipt)
        return false;
    Entry& e = p.entries[*receipt];
    if (!e.hasReceipt()) { // the first line of a number is the one that counts
        e.at = line - p.bytes.constData();
        e.size = size;
        e.line = number;
    }
    if (f[1 + kValidField] == "i0")
        e.cancelled = true;
    return true;
}

Parsed parse(const QByteArray& bytes) {
    Parsed p;
    p.bytes = bytes;
    const qsizetype end = bytes.lastIndexOf('\n') + 1;
    p.completeLength = end;
    p.torn = bytes.mid(end);
    const QList<QByteArrayView> tornFields = fieldsOf(p.torn.constData(), p.torn.size());
    if (tornFields.size() > 1 && (tornFields[0] == "I" || tornFields[0] == "C")) {
        const QByteArrayView f = tornFields[1];
        const bool typed = tornFields[0] == "I" && f.startsWith('i');
        p.tornNumber = numberIn(f.data() + typed, f.size() - typed).value_or(-1);
    }
    const char* b = p.bytes.constData();
    int number = 0;
    for (qsizetype at = 0; at < end;) {
        const qsizetype next = p.bytes.indexOf('\n', at);
        ++number;
        const bool header = number == 1 && QByteArrayView(b, next + 1) == kHeader;
        if (!header && !readLine(b + at, next - at, number, p))
            p.unreadable << number;
        at = next + 1;
    }
    return p;
}

// The values of an I line: its receipt's, and its collection's (empty when it has none);
// false when a value cannot be read back.
bool valuesOf(const Parsed& p, const Entry& e, QList<QByteArray>& receipt,
              QList<QByteArray>& collection) {
    const QList<QByteArray> f = QByteArray(p.bytes.constData() + e.at, e.size).split('\t');
    receipt = f.mid(1, kReceiptCount);
    collection = f.mid(1 + kReceiptCount);
    if (std::all_of(collection.begin(), collection.end(),
                    [](const QByteArray& v) { return v == "-"; }))
        collection.clear();
    return std::all_of(receipt.begin(), receipt.end(), isTypedValue) &&
           std::all_of(collection.begin(), collection.end(), isTypedValue);
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The file's bytes from the start; empty on an error (errno says which).
std::optional<QByteArray> readAll(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    QByteArray bytes(st.st_size, Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

void syncFolderOf(const QString& path) {
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Appends lines under the lock the caller holds: a torn end cut off first, the header at the
// start of an empty record, then the lines, flushed. False on an error (errno says which).
bool appendLocked(int fd, const QByteArray& lines) {
    std::optional<QByteArray> bytes;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    qint64 size = st.st_size;
    char last = '\n';
    if (size > 0 && ::pread(fd, &last, 1, size - 1) != 1)
        return false;
    if (last != '\n') {
        if (!(bytes = readAll(fd)))
            return false;
        size = bytes->lastIndexOf('\n') + 1;
        if (::ftruncate(fd, size) != 0)
            return false;
    }
    const QByteArray out = size == 0 ? kHeader + lines : lines;
    return writeAll(fd, out) && ::fdatasync(fd) == 0;
}

QString recordText(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Receipts of the file: number and whether it is valid.
QMap<qint64, bool> receiptsOf(StoreBackend& db) {
    QMap<qint64, bool> out;
    const auto st = db.prepare(QStringLiteral("SELECT AR_APODEIKSHS, EGKYRH FROM APODEIKSEIS "
                                              "WHERE AR_APODEIKSHS IS NOT NULL"));
    while (st->next())
        out.insert(st->integer(0), int(st->integer(1)) != 0);
    return out;
}

// Each receipt of the file with the line that records it; one number, or all of them.
void forEachLine(StoreBackend& db, std::optional<qint64> only,
                 const std::function<void(qint64, bool, const QByteArray&)>& take) {
    std::string sql = std::string("SELECT ") + kReceiptColumns + ", " + kCollectionColumns +
                      ", k.rowid FROM APODEIKSEIS r LEFT JOIN EISPRAKSH_PELATH k ON k.rowid = "
                      "(SELECT min(rowid) FROM EISPRAKSH_PELATH c WHERE c.AR_APODEIKSHS = "
                      "r.AR_APODEIKSHS) WHERE r.AR_APODEIKSHS IS NOT NULL";
    if (only)
        sql += " AND r.AR_APODEIKSHS = ?";
    const auto st = db.prepare(QString::fromStdString(sql));
    if (only)
        st->bind(1, qlonglong(*only));
    while (st->next()) {
        QByteArray body = QByteArrayLiteral("I");
        for (int i = 0; i < kReceiptCount; ++i)
            body += '\t' + typedValue(*st, i);
        const bool hasCollection = !st->isNull(kReceiptCount + kCollectionCount);
        for (int i = 0; i < kCollectionCount; ++i)
            body += '\t' +
                    (hasCollection ? typedValue(*st, kReceiptCount + i) : QByteArrayLiteral("-"));
        take(st->integer(0), int(st->integer(kValidField)) != 0, sealedLine(body));
    }
}

qint64 highestOf(const Parsed& p, const QMap<qint64, bool>& file) {
    qint64 top = 0;
    if (!p.entries.isEmpty())
        top = p.entries.lastKey();
    if (!file.isEmpty())
        top = std::max(top, file.lastKey());
    return top;
}

// The counter's present value; none when it has no row or no number.
std::optional<qint64> counterOf(StoreBackend& db) {
    const auto st = db.prepare(QStringLiteral("SELECT min([LAST]) FROM LAST_APODEIKSH"));
    if (!st->next() || st->isNull(0))
        return std::nullopt;
    return st->integer(0);
}

struct Plan {
    QList<qint64> restore;
    QList<qint64> cancel;
    qint64 counter = 0; // raised to this, 0: left
};

Plan planFor(const Parsed& p, const QMap<qint64, bool>& file, std::optional<qint64> counter,
             bool counterRow) {
    Plan plan;
    for (auto it = p.entries.begin(); it != p.entries.end(); ++it) {
        const auto inFile = file.find(it.key());
        if (inFile == file.end()) {
            if (it->hasReceipt())
                plan.restore << it.key();
        } else if (it->cancelled && *inFile) {
            plan.cancel << it.key();
        }
    }
    const qint64 next = highestOf(p, file) + 1;
    if (next > 1 && (!counter || *counter < next) && (counterRow || !p.entries.isEmpty()))
        plan.counter = next;
    return plan;
}

void apply(StoreBackend& db, const Parsed& p, Plan& plan, bool counterRow, QList<int>& unreadable) {
    const auto receipt =
        db.prepare(QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS, HMEROMHNIA, ONOMA, "
                                  "EPWNYMO, PARALHPTHS, POSO, TAMEIO, POSO_CY, PERIGRAFH, VAT, "
                                  "SYNOLIKO_POSO, EGKYRH) VALUES(?,?,?,?,?,?,?,?,?,?,?,?)"));
    const auto collection =
        db.prepare(QStringLiteral("INSERT INTO EISPRAKSH_PELATH(ID, HMEROMHNIA, POSO, "
                                  "PERIGRAFH, TAMEIO, POSO_CY, AR_APODEIKSHS, VAT, "
                                  "SYNOLIKO_POSO) VALUES(?,?,?,?,?,?,?,?,?)"));
    QList<qint64> restored;
    for (const qint64 n : std::as_const(plan.restore)) {
        const Entry& e = *p.entries.constFind(n);
        QList<QByteArray> values, collected;
        if (!valuesOf(p, e, values, collected)) {
            unreadable << e.line;
            continue;
        }
        receipt->reset();
        for (int i = 0; i < kReceiptCount; ++i)
            bindValue(*receipt, i + 1, i == kValidField && e.cancelled ? "i0" : values[i]);
        receipt->run();
        restored << n;
        if (e.cancelled || collected.isEmpty())
            continue;
        collection->reset();
        for (int i = 0; i < kCollectionCount; ++i)
            bindValue(*collection, i + 1, collected[i]);
        collection->run();
    }
    plan.restore = restored;
    for (const qint64 n : plan.cancel) {
        const auto drop =
            db.prepare(QStringLiteral("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS = ?"));
        drop->bind(1, qlonglong(n));
        drop->run();
        const auto mark =
            db.prepare(QStringLiteral("UPDATE APODEIKSEIS SET EGKYRH = 0 WHERE AR_APODEIKSHS = ?"));
        mark->bind(1, qlonglong(n));
        mark->run();
    }
    if (plan.counter) {
        const auto st =
            db.prepare(counterRow ? QStringLiteral("UPDATE LAST_APODEIKSH SET [LAST] = ?")
                                  : QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(?)"));
        st->bind(1, qlonglong(plan.counter));
        st->run();
    }
}

bool hasCounterRow(StoreBackend& db) {
    const auto st = db.prepare(QStringLiteral("SELECT count(*) FROM LAST_APODEIKSH"));
    return st->next() && st->integer(0) > 0;
}

// An open record, locked for as long as it lives.
struct LockedRecord {
    int fd = -1;
    ~LockedRecord() {
        if (fd >= 0)
            ::close(fd); // the lock goes with it
    }
};

Outcome run(Connection& c, bool change) {
    Outcome out;
    StoreBackend& db = c.store();
    const QString path = pathFor(Connection::dataSourceOf(c.connectionString()));
    const QByteArray name = QFile::encodeName(path);
    LockedRecord record;
    record.fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (record.fd < 0 && errno != ENOENT) {
        // A record that may not be written is still read and compared; one that cannot even
        // be read is reported, and nothing is put back or written.
        record.fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (record.fd < 0) {
            out.recordError = systemError();
            return out;
        }
    }
    Parsed p;
    if (record.fd >= 0) {
        while (::flock(record.fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        const std::optional<QByteArray> bytes = readAll(record.fd);
        if (!bytes) {
            out.recordError = systemError();
            return out;
        }
        p = parse(*bytes);
        out.unreadable = p.unreadable;
    }

    QMap<qint64, bool> file = receiptsOf(db);
    bool counterRow = hasCounterRow(db);
    Plan plan = planFor(p, file, counterOf(db), counterRow);
    if (change && (!plan.restore.isEmpty() || !plan.cancel.isEmpty() || plan.counter)) {
        // Decided again under the write lock: another copy may have written meanwhile.
        Transaction transaction(c);
        file = receiptsOf(db);
        counterRow = hasCounterRow(db);
        plan = planFor(p, file, counterOf(db), counterRow);
        apply(db, p, plan, counterRow, out.unreadable);
        transaction.commit();
        file = receiptsOf(db);
    }
    out.restored = plan.restore;
    out.cancelled = plan.cancel;
    out.counterRaisedTo = plan.counter;

    // The record completed from the file: receipts it lacks, cancellations it does not know.
    QSet<qint64> wanted;
    for (auto it = file.begin(); it != file.end(); ++it) {
        const auto known = p.entries.find(it.key());
        if (known == p.entries.end() || !known->hasReceipt() || (!it.value() && !known->cancelled))
            wanted.insert(it.key());
    }
    if (!p.torn.isEmpty() && !file.contains(p.tornNumber))
        out.tornDropped = QString::fromUtf8(p.torn.left(60));
    out.completed = int(wanted.size());
    if (!change || (wanted.isEmpty() && p.torn.isEmpty()))
        return out;

    QByteArray lines;
    const auto take = [&](qint64 n, bool valid, const QByteArray& line) {
        if (!wanted.contains(n))
            return;
        const auto known = p.entries.constFind(n);
        if (known == p.entries.constEnd() || !known->hasReceipt())
            lines += line;
        if (!valid)
            lines += cancelledLine(n, QDate::currentDate());
    };
    if (wanted.size() == 1)
        forEachLine(db, *wanted.begin(), take);
    else
        forEachLine(db, std::nullopt, take);

    const bool created = record.fd < 0;
    if (created) {
        record.fd = ::open(name.constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (record.fd < 0 || ::flock(record.fd, LOCK_EX) != 0) {
            out.recordError = systemError();
            return out;
        }
    }
    if (!appendLocked(record.fd, lines)) {
        out.recordError = systemError();
        return out;
    }
    if (created)
        syncFolderOf(path);
    return out;
}

QString numbersText(const QList<qint64>& numbers) {
    constexpr int kShown = 30;
    QStringList shown;
    for (qsizetype i = 0; i < numbers.size() && i < kShown; ++i)
        shown << QString::number(numbers[i]);
    QString text = shown.join(QStringLiteral(", "));
    if (numbers.size() > kShown)
        text += QStringLiteral(" και άλλες %1").arg(numbers.size() - kShown);
    return text;
}

} // namespace

QString pathFor(const QString& dataFile) {
    return dataFile + QStringLiteral(".receipts");
}

Writer::Writer(const QString& dataFile) : m_path(pathFor(dataFile)) {
    const QByteArray name = QFile::encodeName(m_path);
    const bool existed = QFileInfo::exists(m_path);
    m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (m_fd < 0)
        throw UserError(
            QStringLiteral("Το ημερολόγιο αποδείξεων «%1» δεν μπορεί να ανοίξει για εγγραφή· "
                           "η απόδειξη δεν καταχωρήθηκε. Δώστε δικαίωμα εγγραφής στον φάκελο "
                           "του data.mdb και στο αρχείο αυτό και δοκιμάστε ξανά.\r%2")
                .arg(recordText(m_path), systemError()));
    if (!existed)
        syncFolderOf(m_path);
}

Writer::~Writer() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void Writer::append(const QByteArray& line) {
    while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    const bool written = appendLocked(m_fd, line);
    const QString why = written ? QString() : systemError();
    ::flock(m_fd, LOCK_UN);
    if (!written)
        throw UserError(
            QStringLiteral("Δεν γράφτηκε στο ημερολόγιο αποδείξεων «%1»· θα γραφτεί εκεί από το "
                           "αρχείο δεδομένων με το επόμενο άνοιγμα του προγράμματος.\r%2")
                .arg(recordText(m_path), why));
}

QByteArray issuedLine(Connection& c, qint64 number) {
    QByteArray line;
    forEachLine(c.store(), number, [&](qint64, bool, const QByteArray& l) { line = l; });
    if (line.isEmpty())
        throw std::runtime_error("the receipt to record is not in the file");
    return line;
}

QByteArray cancelledLine(qint64 number, const QDate& day) {
    return sealedLine("C\t" + QByteArray::number(number) + '\t' +
                      day.toString(Qt::ISODate).toLatin1());
}

Outcome reconcile(Connection& c) {
    return run(c, true);
}

Outcome compare(Connection& c) {
    return run(c, false);
}

QString Outcome::message(const QString& dataFile) const {
    const QString record = recordText(pathFor(dataFile));
    QStringList parts;
    if (!restored.isEmpty())
        parts << QStringLiteral("Στο αρχείο δεδομένων έλειπαν οι αποδείξεις %1, που είχαν "
                                "εκδοθεί και είναι γραμμένες στο ημερολόγιο αποδείξεων (ίσως "
                                "επανήλθε παλαιότερο αντίγραφο του αρχείου). Ξαναμπήκαν στο "
                                "αρχείο μαζί με τις εισπράξεις τους.")
                     .arg(numbersText(restored));
    if (!cancelled.isEmpty())
        parts << QStringLiteral("Οι αποδείξεις %1 είχαν ακυρωθεί, όπως γράφει το ημερολόγιο "
                                "αποδείξεων· ακυρώθηκαν ξανά στο αρχείο δεδομένων.")
                     .arg(numbersText(cancelled));
    if (counterRaisedTo)
        parts << QStringLiteral("Η επόμενη απόδειξη θα πάρει τον αριθμό %1, ώστε κανένας αριθμός "
                                "να μη δοθεί δεύτερη φορά.")
                     .arg(counterRaisedTo);
    if (!unreadable.isEmpty()) {
        QStringList lines;
        for (const int l : unreadable)
            lines << QString::number(l);
        parts << QStringLiteral("Οι γραμμές %1 του ημερολογίου αποδείξεων «%2» δεν διαβάζονται "
                                "και δεν χρησιμοποιήθηκαν. Κρατήστε ένα αντίγραφο του αρχείου "
                                "αυτού και δείξτε το σε τεχνικό· ο έλεγχος γίνεται με την εντολή "
                                "«marivelle-data check».")
                     .arg(lines.join(QStringLiteral(", ")), record);
    }
    if (!tornDropped.isEmpty())
        parts << QStringLiteral("Η τελευταία γραμμή του ημερολογίου αποδείξεων «%1» είχε κοπεί "
                                "στη μέση (πιθανόν από διακοπή ρεύματος) και η απόδειξή της δεν "
                                "υπάρχει στο αρχείο δεδομένων· η γραμμή αφαιρέθηκε:\r%2")
                     .arg(record, tornDropped);
    if (!recordError.isEmpty())
        parts << QStringLiteral("Το ημερολόγιο αποδείξεων «%1» δεν μπορεί να διαβαστεί ή να "
                                "γραφτεί, και δεν συγκρίθηκε με το αρχείο δεδομένων. Ελέγξτε ότι "
                                "επιτρέπεται η ανάγνωση και η εγγραφή του και ότι ο δίσκος έχει "
                                "χώρο.\r%2")
                     .arg(record, recordError);
    return parts.join(QStringLiteral("\r\r"));
}

} // namespace ReceiptRecord
