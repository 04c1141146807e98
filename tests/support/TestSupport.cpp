#include "TestSupport.h"

#include "data/ChecksumVfs.h"
#include "data/Connection.h"
#include "data/DataFileCheck.h"
#include "data/DataSet.h"
#include "data/Global.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

QString connectionStringFor(const QString& folder) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + folder +
           QStringLiteral("/data.mdb;Persist Security Info=True;Jet OLEDB:Database Password=") +
           QStringLiteral("KT40617LZQ");
}

int runDataTool(const QStringList& arguments) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedChannels);
    tool.start(QStringLiteral(MARIVELLE_DATA_TOOL), arguments);
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return -1;
    return tool.exitCode();
}

TestDatabase::TestDatabase() {
    // Every write of the tests keeps the page checksums, as the program's own do.
    ChecksumVfs::install();
    if (!QFile::copy(QStringLiteral(MARIVELLE_SHIPPED_DB), path()))
        qFatal("cannot copy the shipped data file");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    Global::AppDirectory = dir();
    Global::ConnectionString = connectionString();
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::path() const {
    return m_dir.filePath(QStringLiteral("data.mdb"));
}

QString TestDatabase::connectionString() const {
    return connectionStringFor(dir());
}

std::unique_ptr<Connection> TestDatabase::connect() const {
    auto c = std::make_unique<Connection>();
    c->setUp(connectionString());
    return c;
}

void TestDatabase::exec(const QString& sql) const {
    SQLite::Database db(path().toStdString(), SQLite::OPEN_READWRITE);
    db.exec(sql.toStdString());
}

QString TestDatabase::scalar(const QString& sql) const {
    SQLite::Database db(path().toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement st(db, sql.toStdString());
    if (!st.executeStep())
        return {};
    return st.getColumn(0).isNull() ? QString()
                                    : QString::fromStdString(st.getColumn(0).getString());
}

QStringList receiptFaults(const QString& path) {
    QStringList faults;
    ChecksumVfs::install();
    try {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        const auto text = [&](const char* sql) { return DataFileCheck::rowsOf(db, sql); };
        const QString integrity = text("PRAGMA integrity_check");
        if (integrity != u"ok")
            faults << QStringLiteral("integrity: ") + integrity;
        // A journal whose header was never synced (a kill before the file was touched)
        // holds nothing and every open ignores it; one with a header must be gone by now.
        QFile journal(path + QStringLiteral("-journal"));
        const QByteArray first = journal.open(QIODevice::ReadOnly) ? journal.read(1) : QByteArray();
        if (!first.isEmpty() && first[0] != '\0')
            faults << QStringLiteral("a journal is left after opening");
        faults += DataFileCheck::receiptFaults(db);
        // Here the counter must stand right above the highest number: no number skipped.
        const QString ahead =
            text("SELECT (SELECT [LAST] FROM LAST_APODEIKSH) || ' after ' || max(AR_APODEIKSHS) "
                 "FROM APODEIKSEIS HAVING (SELECT [LAST] FROM LAST_APODEIKSH) > "
                 "max(AR_APODEIKSHS) + 1");
        if (!ahead.isEmpty())
            faults << QStringLiteral("counter ") + ahead;
    } catch (const std::exception& e) {
        faults << QStringLiteral("unreadable: ") + QString::fromUtf8(e.what());
    }
    return faults;
}

QStringList columnOf(const DataSet& data, int column) {
    QStringList texts;
    for (int row = 0; row < data.rowCount(); ++row)
        texts << data.cellText(row, column);
    return texts;
}
