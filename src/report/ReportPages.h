#pragma once

#include "report/ReportHtml.h"
#include "report/ReportLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QSizeF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>
#include <utility>
#include <vector>

class QPaintDevice;

namespace ReportMetrics {
constexpr double kCssDpi = 96.0;
constexpr double kFooterHeight = 22.0; // room for the page number under the text
constexpr double kCellPadX = 4.0;
constexpr double kCellPadY = 2.0;
constexpr double kMemoHeadGap = 6.0; // under the line that names whose memo runs on

// Text is measured for a device of 96 dpi, so that a CSS pixel is one unit.
QPaintDevice* layoutDevice();
} // namespace ReportMetrics

// The parts of a report placed on pages of one content size (CSS pixels), where the text
// goes and where each page breaks; painting only reads them.
class ReportPages {
public:
    struct Segment {
        ReportHtml::Part::Kind kind = ReportHtml::Part::Kind::Rich;
        bool isList() const { return kind == ReportHtml::Part::Kind::List; }
        bool isMemo() const { return kind == ReportHtml::Part::Kind::Memo; }
        bool keep() const { return kind == ReportHtml::Part::Kind::Keep; }
        // A rich part: its document, whose first block is a spacer that pushes the text down
        // to where the part begins on its first page. A part kept on one page (a card) has no
        // spacer height and is drawn from top instead.
        std::unique_ptr<QTextDocument> doc;
        double top = 0;
        int firstPage = 0;
        int pageSpan = 0;
        // The pages the part may draw on, whatever its kind; both grow from part to part.
        int fromPage = 0;
        int toPage = 0;
        std::vector<QTextBlock> headingBreaks; // pushed to a new page to stay with their text
        // A list, and the fonts of a list or a memo.
        ReportLayout::ListTable list;
        QFont font;
        QFont boldFont;
        std::unique_ptr<QFontMetricsF> plainMetrics;
        std::unique_ptr<QFontMetricsF> boldMetrics;
        // Widths already measured, plain and bold: a list repeats many of its values.
        QHash<QString, double> advances[2];
        double headerHeight = 0;
        std::vector<double> headerHeights;
        std::vector<std::pair<int, double>> headers; // page and top of each repeated header
        std::vector<int> rowPage;
        std::vector<double> rowTop;
        std::vector<double> rowHeight;
        // A memo: its paragraphs, each line's place, and the pages it runs on to, which begin
        // with the line saying whose memo it is.
        std::vector<std::unique_ptr<QTextLayout>> paragraphs;
        struct MemoLine {
            int paragraph;
            int line; // -1: an empty line of the memo
            int page;
            double y;
        };
        std::vector<MemoLine> memoLines;
        std::vector<int> headPages;
        QString continued;
        double indent = 0;
        double wrappedFor = -1;
    };

    explicit ReportPages(std::vector<ReportHtml::Part> parts);
    ~ReportPages();

    // Places every part on pages of this content size; nothing is done for the same size.
    void layOut(const QSizeF& content);
    int count() const { return m_count; }
    const std::vector<std::unique_ptr<Segment>>& segments() const { return m_segments; }

private:
    void layOutRich(Segment& s, const QSizeF& content, int& page, double& y, double lead);
    double richHeight(Segment& s, const QSizeF& content, double y); // lays out, to the bottom
    void keepHeadingsWithText(Segment& s, double pageHeight);
    void splitAtPageTops(Segment& s, double pageHeight);
    void wrapMemo(Segment& s, double width);
    void layOutMemo(Segment& s, const QSizeF& content, int& page, double& y);
    double listRowHeight(Segment& s, std::vector<ReportLayout::ListCell>& row, double width);
    void layOutList(Segment& s, const QSizeF& content, int& page, double& y);

    std::vector<std::unique_ptr<Segment>> m_segments;
    QSizeF m_laidOutFor;
    int m_count = 0;
};
