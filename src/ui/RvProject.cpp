#include "ui/RvProject.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplate.h"
#include "ui/ReportPreview.h"
#include "ui/RvDataSetConnection.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <stdexcept>

RvProject::RvProject(const QString& name, QObject* owner) : QObject(owner) {
    setObjectName(name);
}

QString RvProject::pdfFolder() {
    return qEnvironmentVariable("MARIVELLE_REPORT_PDF_DIR").trimmed();
}

QString RvProject::nextPdfPath(const QString& folder, const QString& base) {
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2.pdf").arg(base).arg(n));
    return path;
}

void RvProject::execute() {
    const ReportTemplate tmpl = ReportTemplate::load(m_projectFile);

    // The connections of the screen that owns this project, by the names the file uses.
    QList<ReportTable> tables;
    const QSet<QString> names = tmpl.referencedNames();
    QObject* owner = parent() ? parent() : this;
    for (RvDataSetConnection* c : owner->findChildren<RvDataSetConnection*>())
        if (names.contains(c->objectName()))
            tables.append(c->read());

    const QString base = QFileInfo(tmpl.path()).completeBaseName();
    QString title = m_title.isEmpty() ? base : m_title;
    if (!m_subject.isEmpty())
        title += u' ' + m_subject;
    ReportLayout layout(tmpl.render(tables, Clock::today(), m_params), tmpl.orientation(), title);

    const QString folder = pdfFolder();
    if (!folder.isEmpty()) {
        if (!QDir().mkpath(folder))
            throw UserError(QStringLiteral("Ο φάκελος %1 δεν μπορεί να δημιουργηθεί.").arg(folder));
        layout.writePdf(nextPdfPath(folder, base));
        return;
    }

    ReportPreview preview(layout, QApplication::activeWindow());
    Modal::exec(preview);
}

void printQuery(Connection& connection, Query& query, const QString& statement, RvProject& project,
                const QString& file) {
    struct Closer {
        Connection& connection;
        Query& query;
        ~Closer() {
            query.close();
            query.clearSql();
            connection.close();
        }
    } closer{connection, query};

    query.close();
    query.clearSql();
    query.addSql(statement);
    query.open();
    project.setProjectFile(Global::AppDirectory + file);
    project.execute();
}
