#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Connection;

// The receipt record: beside the data file, an append-only text file with a line for every
// receipt issued and every cancellation, written and flushed to the disk right after the
// store's commit. The store is the books and the record their journal, as a fiscal device
// keeps one: at every start the two are compared, receipts the file lacks (an older copy
// restored, a file replaced) are put back, and the counter never gives their numbers again.
//
// A line is tab-separated and ends in the CRC-32 of what precedes its last tab:
//   I  the receipt's row and its collection's row, each value typed (n null, i whole
//      number, r number, t text, b bytes), the collection's as "-" when it has none
//   C  number  day   a cancellation
namespace ReceiptRecord {

// The record of a data file: "data.mdb.receipts" beside "data.mdb".
QString pathFor(const QString& dataFile);

// One append to the record. Opened before the store's transaction, so that a record that
// cannot be written stops a receipt before it is stored; errors are Greek texts.
class Writer {
public:
    explicit Writer(const QString& dataFile);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Appends one line and flushes it to the disk; a torn last line left by a power cut is
    // cut off first (its receipt, in the file, is written again at the next start).
    void append(const QByteArray& line);

private:
    QString m_path;
    int m_fd = -1;
};

// The line of a receipt as the store holds it now, read on the connection that stores it.
QByteArray issuedLine(Connection& c, qint64 number);
QByteArray cancelledLine(qint64 number, const QDate& day);

// What the comparison of the record and the file found, and did.
struct Outcome {
    QList<qint64> restored;     // receipts put back into the file
    QList<qint64> cancelled;    // cancellations made again in the file
    qint64 counterRaisedTo = 0; // the counter's new value, 0 when untouched
    int completed = 0;          // lines the record got from the file
    QList<int> unreadable;      // line numbers of the record that cannot be read
    QString tornDropped;        // the start of a torn last line whose receipt is not in the file
    QString recordError;        // the record itself could not be read or written

    bool changedFile() const {
        return !restored.isEmpty() || !cancelled.isEmpty() || counterRaisedTo;
    }
    // What the desk is told, in Greek; empty when there is nothing to tell.
    QString message(const QString& dataFile) const;
};

// Compares the record of the connection's file with the file; puts back into the file, in
// one transaction, what only the record holds, raises the counter past every number ever
// given, and completes the record from the file. The file is not written when nothing is
// missing from it.
Outcome reconcile(Connection& c);

// Used by the checking tool: the same comparison, changing nothing.
Outcome compare(Connection& c);

} // namespace ReceiptRecord
