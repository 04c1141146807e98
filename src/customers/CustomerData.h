#pragma once

#include <QString>
#include <QStringView>

// What the program holds on one customer, handed to her on request, and her record made
// anonymous when she asks to be forgotten. Receipts and collections are kept as they are:
// the law keeps them for years, with the name printed on them.
namespace CustomerData {

// The files of one export, in a folder of their own.
struct Exported {
    QString folder;
    QString pdf;    // for a person to read (DEDOMENA.RAV)
    QString json;   // the same, for a program
    QString readme; // what the fields of the JSON file mean
};

// Writes everything held on the customer (her record with its history, visits, receipts and
// collections, and the appointment slots that mention her surname) into a new folder inside
// `parent`, named after her and today. Nothing is left behind when it fails; the error
// says why in Greek.
Exported exportTo(const QString& parent, qlonglong customerId);

// True when the text names the word as a whole word, without regard to case or accents:
// "Ελένη Παπά βαφή" names "ΠΑΠΑ" but not "Παπ".
bool mentions(QStringView text, QStringView word);

// The surname an anonymous record keeps; every other part of her record is emptied.
QString anonymousSurname();
// The Yes/No question asked first: what goes and what stays.
QString anonymiseQuestion(const QString& name, const QString& surname);
// Replaces her name, surname, birth date, address, phones, profession, fund and history in
// one transaction; nothing changes when the store refuses. Never touches a receipt or a
// collection.
void anonymise(qlonglong customerId);

} // namespace CustomerData
