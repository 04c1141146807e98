#include "ui/Spreadsheet.h"

#include "data/UserError.h"
#include "data/Values.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Spreadsheet {

namespace {

// What a spreadsheet cell holds at most, in characters.
constexpr qsizetype kLongestText = 32767;
// Column widths in characters, so that one long description does not hide the rest.
constexpr double kNarrowest = 4;
constexpr double kWidest = 60;

// Number formats by code, the same in every language: "/" escaped, as some languages would
// show their own date separator for a bare one.
const char* const kAmountFormat = "#,##0.00 \"\xE2\x82\xAC\"";
const char* const kDateFormat = "d\\/m\\/yyyy";
const char* const kCountFormat = "0";

QString quoted(const QString& path) {
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

[[noreturn]] void fail(const QString& path, const QString& why) {
    throw UserError(QStringLiteral("Το αρχείο %1 δεν μπορεί να γραφτεί. ").arg(quoted(path)) + why);
}

// Why the system refused, in the words a person acts on.
[[noreturn]] void failWithError(const QString& path, int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        fail(path, QStringLiteral("Ο δίσκος είναι γεμάτος: ελευθερώστε χώρο ή επιλέξτε άλλο "
                                  "δίσκο."));
    case EACCES:
    case EPERM:
        fail(path, QStringLiteral("Δεν επιτρέπεται η εγγραφή σε αυτόν τον φάκελο ή σε αυτό το "
                                  "αρχείο: επιλέξτε άλλο φάκελο."));
    case EROFS:
        fail(path, QStringLiteral("Ο δίσκος δέχεται μόνο ανάγνωση: επιλέξτε άλλο δίσκο."));
    case ENOENT:
    case ENOTDIR:
        fail(path, QStringLiteral("Ο φάκελος δεν υπάρχει: επιλέξτε άλλο φάκελο."));
    case EISDIR:
        fail(path, QStringLiteral("Υπάρχει ήδη φάκελος με αυτό το όνομα: δώστε άλλο όνομα."));
    case ENAMETOOLONG:
        fail(path, QStringLiteral("Το όνομα είναι πολύ μεγάλο: δώστε συντομότερο όνομα."));
    default:
        fail(path, QStringLiteral("Ελέγξτε ότι ο φάκελος υπάρχει και ότι επιτρέπεται η εγγραφή "
                                  "σε αυτόν.\n%1")
                       .arg(error ? qt_error_string(error) : QStringLiteral("xlsx")));
    }
}

QDate dateOf(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    // Spreadsheets count days from 1900.
    return d.isValid() && d.year() >= 1900 ? d : QDate();
}

bool countOf(const QString& text, double* value) {
    static const QRegularExpression form(QStringLiteral("^[+-]?\\d{1,15}$"));
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch())
        return false;
    *value = double(t.toLongLong());
    return true;
}

bool numberOf(const QString& text, double* value) {
    return Values::parseNumber(text, value) && std::isfinite(*value);
}

// The formats of one row style (the list's, or the totals' in bold), by kind.
struct Formats {
    lxw_format* text = nullptr;
    lxw_format* amount = nullptr;
    lxw_format* date = nullptr;
    lxw_format* count = nullptr;
    lxw_format* number = nullptr;

    Formats(lxw_workbook* book, bool bold) {
        auto make = [&](const char* code) {
            lxw_format* f = workbook_add_format(book);
            if (bold)
                format_set_bold(f);
            if (code)
                format_set_num_format(f, code);
            return f;
        };
        text = bold ? make(nullptr) : nullptr;
        number = text;
        amount = make(kAmountFormat);
        date = make(kDateFormat);
        count = make(kCountFormat);
    }
};

// Writes one value; the characters it takes on screen, for the column's width.
int writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const Cell& cell,
              const Formats& f) {
    const QString& text = cell.text;
    if (text.isEmpty())
        return 0;
    double number = 0;
    switch (cell.kind) {
    case Kind::Amount:
        if (numberOf(text, &number)) {
            worksheet_write_number(sheet, row, col, number, f.amount);
            // Digit grouping and " €" besides the digits.
            const int digits = int(Values::fixedText(number, 2).size());
            return digits + digits / 4 + 2;
        }
        break;
    case Kind::Date:
        if (const QDate d = dateOf(text); d.isValid()) {
            lxw_datetime when{d.year(), d.month(), d.day(), 0, 0, 0};
            worksheet_write_datetime(sheet, row, col, &when, f.date);
            return 10;
        }
        break;
    case Kind::Count:
        if (countOf(text, &number)) {
            worksheet_write_number(sheet, row, col, number, f.count);
            return int(text.trimmed().size());
        }
        break;
    case Kind::Number:
        if (numberOf(text, &number)) {
            worksheet_write_number(sheet, row, col, number, f.number);
            return int(text.trimmed().size());
        }
        break;
    case Kind::Text:
        break;
    }
    // Always a string, never a formula, whatever it begins with.
    worksheet_write_string(sheet, row, col, text.toUtf8().constData(), f.text);
    int longest = 0;
    for (const QStringView line : QStringView(text).split(u'\n'))
        longest = std::max(longest, int(line.size()));
    return longest;
}

void checkFits(const QString& path, const Sheet& sheet) {
    const qsizetype lines =
        1 + sheet.rows.size() + (sheet.totals.isEmpty() ? 0 : 1) + sheet.totals.size();
    if (lines > LXW_ROW_MAX)
        fail(path, QStringLiteral("Ο κατάλογος έχει %1 γραμμές, ενώ ένα φύλλο του Excel χωράει "
                                  "έως %2.")
                       .arg(lines - 1)
                       .arg(LXW_ROW_MAX - 1));
    if (sheet.titles.size() > LXW_COL_MAX)
        fail(path, QStringLiteral("Ο κατάλογος έχει περισσότερες στήλες από όσες χωράει ένα "
                                  "φύλλο του Excel."));
    auto tooLong = [](const QString& text) {
        return text.size() > kLongestText && QStringView(text).toUcs4().size() > kLongestText;
    };
    for (qsizetype r = 0; r < sheet.rows.size(); ++r)
        for (qsizetype c = 0; c < sheet.rows[r].size(); ++c)
            if (tooLong(sheet.rows[r][c]))
                fail(path, QStringLiteral("Η τιμή της γραμμής %1 στη στήλη \"%2\" έχει "
                                          "περισσότερους από %3 χαρακτήρες, όσους χωράει ένα "
                                          "κελί του Excel.")
                               .arg(r + 1)
                               .arg(sheet.titles.value(c))
                               .arg(kLongestText));
}

// A name beside the file, free until now, made only for this writer.
QByteArray reserveTemporary(const QString& path) {
    const QFileInfo target(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name =
            QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                              u'.' + QString::number(QRandomGenerator::global()->generate(), 36));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            failWithError(path, errno);
    }
    failWithError(path, EEXIST);
}

void syncFile(const QByteArray& name, const QString& path) {
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        failWithError(path, errno);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0)
        failWithError(path, error);
}

} // namespace

QString sheetName(const QString& text) {
    QString name;
    for (const QChar c : text)
        name += c == u'/' || c == u'\\'                                     ? u'-'
                : QStringLiteral("[]:*?").contains(c) || c.unicode() < 0x20 ? u' '
                                                                            : c;
    name = name.simplified();
    if (name.size() > LXW_SHEETNAME_MAX) {
        const qsizetype blank = name.lastIndexOf(u' ', LXW_SHEETNAME_MAX);
        name.truncate(blank > 0 ? blank : LXW_SHEETNAME_MAX);
    }
    // Nor may it begin or end with an apostrophe; a cut leaves no dangling dash either.
    static const QRegularExpression ends(QStringLiteral("^['\\s]+|['\\s\\-–,]+$"));
    name.remove(ends);
    return name.isEmpty() ? QStringLiteral("Φύλλο") : name;
}

void write(const QString& path, const Sheet& sheet) {
    checkFits(path, sheet);
    const QByteArray temporary = reserveTemporary(path);
    struct Cleanup {
        QByteArray name;
        bool keep = false;
        ~Cleanup() {
            if (!keep)
                ::unlink(name.constData());
        }
    } cleanup{temporary};

    errno = 0;
    lxw_workbook* book = workbook_new(temporary.constData());
    if (!book)
        failWithError(path, errno);
    const QByteArray name = sheetName(sheet.name).toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(name.constData());
    workbook_set_properties(book, &properties);
    lxw_worksheet* ws = workbook_add_worksheet(book, name.constData());

    lxw_format* title = workbook_add_format(book);
    format_set_bold(title);
    const Formats list(book, false);
    const Formats totals(book, true);

    std::vector<double> widths(size_t(sheet.titles.size()), kNarrowest);
    auto fit = [&](qsizetype col, double chars) {
        if (col < qsizetype(widths.size()))
            widths[size_t(col)] = std::max(widths[size_t(col)], chars);
    };
    if (ws) {
        for (qsizetype c = 0; c < sheet.titles.size(); ++c) {
            worksheet_write_string(ws, 0, lxw_col_t(c), sheet.titles[c].toUtf8().constData(),
                                   title);
            fit(c, sheet.titles[c].size() * 1.15); // bold
        }
        worksheet_freeze_panes(ws, 1, 0);
        lxw_row_t row = 1;
        for (const QStringList& values : sheet.rows) {
            for (qsizetype c = 0; c < values.size(); ++c)
                fit(c, writeCell(ws, row, lxw_col_t(c),
                                 {values[c], sheet.kinds.value(c, Kind::Text)}, list));
            ++row;
        }
        if (!sheet.totals.isEmpty())
            ++row;
        for (const QList<Cell>& cells : sheet.totals) {
            for (qsizetype c = 0; c < cells.size(); ++c) {
                const int chars = writeCell(ws, row, lxw_col_t(c), cells[c], totals);
                // A label may run on into the empty cells beside it.
                if (cells[c].kind != Kind::Text)
                    fit(c, chars * 1.15);
            }
            ++row;
        }
        for (size_t c = 0; c < widths.size(); ++c)
            worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), std::min(widths[c], kWidest) + 2,
                                 nullptr);
    }
    errno = 0;
    const lxw_error closed = workbook_close(book);
    const int error = errno;
    if (!ws)
        fail(path, QStringLiteral("Το όνομα του φύλλου δεν γίνεται δεκτό."));
    if (closed != LXW_NO_ERROR)
        failWithError(path, error);

    syncFile(temporary, path);
    // A file replaced keeps who may read it.
    struct stat old;
    const QByteArray target = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (::stat(target.constData(), &old) == 0)
        ::chmod(temporary.constData(), old.st_mode & 07777);
    if (::rename(temporary.constData(), target.constData()) != 0)
        failWithError(path, errno);
    cleanup.keep = true;
    // The new name itself reaches the disk with the folder.
    const int dir =
        ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace Spreadsheet
