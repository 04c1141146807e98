#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QPageLayout>
#include <QSet>
#include <QString>
#include <QStringList>

// The rows one data connection hands to a report, as they are shown on screen.
struct ReportTable {
    QString name; // the data connection's name, which the report's sections use
    QStringList columns;
    QList<QStringList> rows;
};

// A report definition file (*.RAV): HTML with Mustache sections named after the data
// connections and fields named after the columns of their queries.
class ReportTemplate {
public:
    // Reads the file; a missing one raises the engine's "does not exist" error.
    static ReportTemplate load(const QString& path);
    explicit ReportTemplate(const QString& text, const QString& path = QString());

    const QString& text() const { return m_text; }
    const QString& path() const { return m_path; }

    // The names the template's tags use (the first part of a dotted name).
    QSet<QString> referencedNames() const;
    // <meta name="orientation" content="landscape"> turns the pages.
    QPageLayout::Orientation orientation() const;

    // The HTML for these rows. Values are escaped and their line breaks kept; a section
    // named after a connection repeats for each of its rows. Also known: PrintDate,
    // RecordCount.<connection>, Param.<name> for the values handed over with the data,
    // RecNo (1, 2, ...) inside a row, and the section MonthName, which writes the Greek name
    // of the month number inside it. Throws on a broken template.
    QString render(const QList<ReportTable>& tables, const QDate& printDate,
                   const QMap<QString, QString>& params = {}) const;

    // "The following reporting project does not exist:" CR "\"<path>\"".
    static QString missingFileMessage(const QString& path);

private:
    QString m_text;
    QString m_path;
};
