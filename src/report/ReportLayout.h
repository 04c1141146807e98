#pragma once

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class ReportPages;

// A rendered report laid out on A4 pages with the page number at the foot. The HTML is read
// in ReportHtml, placed on pages in ReportPages and drawn in ReportPaint.
//
// The HTML is cut into rich parts, laid out by Qt's rich text, and list tables
// (<table class="list">), which are laid out row by row here: a list of thousands of
// customers would take Qt's table layout many seconds, and here each row is a few
// text draws, the header repeats at the top of every page, and rows never split.
// Two kinds of <div> are laid out here too: <div class="keep"> (a customer's card) never
// splits across two pages unless it is taller than a page, and stays with the first lines
// of a memo right after it; <div class="memo" data-continued="..."> is plain text printed
// exactly as typed (line breaks, tabs, runs of blanks), line by line, and every page it runs
// on to begins with the data-continued text, saying whose text goes on there.
//
// Lengths are kept in CSS pixels (1/96 inch) whatever the device, so that the pages
// break in the same places in the preview, on paper and in a PDF.
class ReportLayout {
public:
    explicit ReportLayout(const QString& html,
                          QPageLayout::Orientation orientation = QPageLayout::Portrait,
                          const QString& title = QString());
    ~ReportLayout();
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;

    QString title() const { return m_title; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    QPageLayout pageLayout() const; // A4, the report's orientation, the margins

    // Prepares the device's page and draws every page; returns the number of pages.
    int print(QPagedPaintDevice* device);
    // Writes a PDF file; throws when it cannot be written. Returns the number of pages.
    int writePdf(const QString& path);

    // Pages for the given device's page (lays out when needed).
    int pageCount(QPagedPaintDevice* device);

    static QFont defaultFont(); // the report's text face: Greek-capable, 10 pt

    struct ListCell {
        QString text; // plain text; "\n" breaks lines
        Qt::Alignment align = Qt::AlignLeft;
        bool bold = false;
        float advance = -1; // width on one line, found when laid out; -1: wraps
    };
    struct ListTable {
        std::vector<double> widths; // fractions of the page width, one per column
        std::vector<std::vector<ListCell>> header;
        std::vector<std::vector<ListCell>> rows;
        double pointSize = 9;
    };

private:
    QSizeF contentSize(QPagedPaintDevice* device) const;

    QString m_title;
    QPageLayout::Orientation m_orientation;
    std::unique_ptr<ReportPages> m_pages; // the parts read from the HTML, and their pages
};
