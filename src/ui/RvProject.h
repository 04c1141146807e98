#pragma once

#include <QMap>
#include <QObject>
#include <QString>

class Connection;
class Query;
class RvDataSetConnection;
class ReportLayout;

// A report run: the definition file is set before each run, and execute() loads it, reads
// the data connections it names among the owner's, and shows the preview, from which the
// user prints or saves a PDF; it returns when the user has finished.
//
// A person reads the report by its title and subject ("Απόδειξη 1001"): the preview's caption,
// the PDF's document title and the name a saved PDF is proposed under.
//
// When the environment names a folder in MARIVELLE_REPORT_PDF_DIR, every report is written
// there as a PDF named after its file (NOTES.pdf, then NOTES-2.pdf ...) and nothing is shown.
class RvProject : public QObject {
    Q_OBJECT
public:
    explicit RvProject(const QString& name, QObject* owner);

    QString projectFile() const { return m_projectFile; }
    void setProjectFile(const QString& path) { m_projectFile = path; }
    // A value handed over with the data, reached in the file as {{Param.<name>}} (the period
    // an expense report covers); it stays set for the next runs.
    void setParam(const QString& name, const QString& value) { m_params.insert(name, value); }
    // What the report is, in words ("Απόδειξη"); the file's name when none is set.
    void setTitle(const QString& title) { m_title = title; }
    // What the next runs are about (a receipt's number, a period), after the title.
    void setSubject(const QString& subject) { m_subject = subject; }

    void execute();

    static QString pdfFolder(); // the automation folder, or empty
    // The next free "<base>.pdf", "<base>-2.pdf" ... in the folder.
    static QString nextPdfPath(const QString& folder, const QString& base);

private:
    QString m_projectFile;
    QMap<QString, QString> m_params;
    QString m_title;
    QString m_subject;
};

// A printout of a screen that prints one query, on its connection just set up: the
// statement opened, the file of AppDirectory run. Whatever happens, the query is then closed
// with its text cleared and the connection closed, so that the next printout starts clean;
// an error still reaches the caller.
void printQuery(Connection& connection, Query& query, const QString& statement, RvProject& project,
                const QString& file);
