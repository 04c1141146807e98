#include "TestSupport.h"

#include "data/Connection.h"
#include "data/Global.h"

#include <QFile>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

QString connectionStringFor(const QString& folder) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + folder +
           QStringLiteral("/data.mdb;Persist Security Info=True;Jet OLEDB:Database Password=") +
           QStringLiteral("KT40617LZQ");
}

TestDatabase::TestDatabase() {
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
