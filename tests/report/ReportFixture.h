#pragma once

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Reports written as PDF files into a folder of their own while it lives.
class PdfFolder {
public:
    PdfFolder() { qputenv("MARIVELLE_REPORT_PDF_DIR", m_dir.path().toUtf8()); }
    ~PdfFolder() { qunsetenv("MARIVELLE_REPORT_PDF_DIR"); }
    QString path() const { return m_dir.path(); }
    QStringList files() const {
        return QDir(m_dir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// The text of a PDF as pdftotext reads it, pages separated by form feeds.
inline QString pdfText(const QString& path, const QStringList& options = {}) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), QStringList(options)
                                             << QStringLiteral("-enc") << QStringLiteral("UTF-8")
                                             << path << QStringLiteral("-"));
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>")
            .arg(QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The document title a PDF carries, as pdfinfo reads it.
inline QString pdfTitle(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<pdfinfo failed>");
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(QStringLiteral("Title:")))
            return line.mid(6).trimmed();
    return QString();
}

// Whitespace runs as one blank, so that a search does not depend on line breaks.
inline QString flattened(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString(text).replace(blanks, QStringLiteral(" "));
}

// What is wrong with a report's text: a wanted piece missing or an unwanted one present;
// empty when nothing is.
inline QString textFault(const QString& text, const QStringList& present,
                         const QStringList& absent) {
    for (const QString& s : present)
        if (!text.contains(s))
            return QStringLiteral("missing \"%1\" in: %2").arg(s, text);
    for (const QString& s : absent)
        if (text.contains(s))
            return QStringLiteral("unexpected \"%1\" in: %2").arg(s, text);
    return QString();
}

inline int pdfPageCount(const QString& text) {
    QString t = text;
    while (t.endsWith(u'\f') || t.endsWith(u'\n'))
        t.chop(1);
    return int(t.count(u'\f')) + 1;
}

// The shipped report files, beside the test's data file.
inline void copyShippedReports(const QString& folder) {
    const QDir source(QStringLiteral(MARIVELLE_SOURCE_DIR "/resources/reports"));
    for (const QString& name : source.entryList({QStringLiteral("*.RAV")}, QDir::Files)) {
        QFile::remove(QDir(folder).filePath(name));
        QFile::copy(source.filePath(name), QDir(folder).filePath(name));
    }
}

// A printing screen in miniature: a connection, queries bound to named data connections,
// and a project that runs a file of the working folder.
class ReportOwner : public QObject {
public:
    ReportOwner() { project = new RvProject(QStringLiteral("RvProject1"), this); }
    Query* bind(const QString& connectionName, const QString& sql) {
        if (!connection.isConnected())
            connection.setUp(Global::ConnectionString);
        auto* q = new Query(this);
        q->setConnection(&connection);
        q->addSql(sql);
        new RvDataSetConnection(connectionName, q, this);
        return q;
    }
    void run(const QString& fileName) {
        project->setProjectFile(Global::AppDirectory + QStringLiteral("/") + fileName);
        project->execute();
    }
    Connection connection;
    RvProject* project = nullptr;
};
