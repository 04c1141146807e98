#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <random>

// The customer list query of the printouts and the catalogue.
inline const QString kCustomerListSql = QStringLiteral(
    "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC");

// A copy of the shipped data file in the folder, with that many customers of Greek names,
// the same ones on every run. Returns the file's path.
inline QString makeCustomerFile(const QTemporaryDir& dir, int customers) {
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    QFile::copy(QStringLiteral(MARIVELLE_SHIPPED_DB), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    const char* first[] = {"Μαρία", "Ελένη", "Κατερίνα", "Γεωργία", "Δήμητρα", "Σοφία", "Άννα"};
    const char* stem[] = {"Παπαδοπούλου", "Ιωάννου",    "Γεωργίου",  "Νικολάου",  "Αθανασίου",
                          "Οικονόμου",    "Καραγιάννη", "Βασιλείου", "Δημητρίου", "Ζαχαρίου"};
    std::mt19937 rng(7);
    SQLite::Transaction t(db);
    SQLite::Statement ins(db, "INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,FYLO,"
                              "HMEROMHNIA_GENNHSEWS,DIEYTHYNSH,THLEFWNO_1,THLEFWNO_2,EPAGGELMA,"
                              "TAMEIO) VALUES(?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < customers; ++i) {
        char surname[96], date[16], phone[16];
        std::snprintf(surname, sizeof surname, "%s %d", stem[rng() % 10], int(rng() % 1000));
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", 1940 + int(rng() % 65),
                      1 + int(rng() % 12), 1 + int(rng() % 28));
        std::snprintf(phone, sizeof phone, "69%08d", int(rng() % 100000000));
        ins.bind(1, first[rng() % 7]);
        ins.bind(2, surname);
        ins.bind(3, rng() % 2 ? "ΘΗΛΥ" : "ΑΡΡΕΝ");
        ins.bind(4, date);
        ins.bind(5, "Λεωφόρος Αλεξάνδρας 12, Αθήνα");
        ins.bind(6, phone);
        ins.bind(7, "2101234567");
        ins.bind(8, "Ιδιωτική υπάλληλος");
        ins.bind(9, "ΕΦΚΑ");
        ins.exec();
        ins.reset();
    }
    t.commit();
    return path;
}
