#pragma once

#include "report/ReportLayout.h"

#include <QString>
#include <QStringView>

#include <vector>

// A rendered report's HTML cut into the parts its pages are made of. Rich parts go to Qt's
// rich text as they are; list tables (<table class="list">), keep blocks
// (<div class="keep">) and memos (<div class="memo">) are read here: Qt's reader drops the
// class names that mark them and a memo's runs of blanks, and reads the list of 10,000
// customers in about 1.7 s, where this reader takes about 0.1 s.
namespace ReportHtml {

struct Part {
    enum class Kind { Rich, Keep, List, Memo };
    Kind kind = Kind::Rich;
    QString html;                 // Rich, Keep: a whole document, the report's head included
    ReportLayout::ListTable list; // List
    QString memo;                 // Memo: the text as typed, "\n" between its lines
    double pointSize = 0;         // Memo: the text's size; 0 for the report's own
    double indent = 0;            // Memo: CSS pixels from the left
    QString continued;            // Memo: what heads every page it runs on to
};

std::vector<Part> parts(const QString& html);

// The text of a list cell: tags dropped, <br> kept as a line break, blanks collapsed;
// bold is set when <b> or <strong> is met.
QString cellText(QStringView html, bool* bold);
// The text of a memo as typed: tags dropped, <br> a line break, entities decoded, every
// blank and tab kept, and a run of white space holding a raw line break (the template's
// own layout) dropped.
QString memoText(QStringView html);
// The rows of a list table whose opening tag is tableTag and whose content is
// html[from, to).
ReportLayout::ListTable listTable(QStringView tableTag, const QString& html, qsizetype from,
                                  qsizetype to);

} // namespace ReportHtml
