#include "receipts/Unit72.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Global.h"
#include "data/UserError.h"
#include "ui/LongLived.h"
#include "ui/RvDataSetConnection.h"
#include "ui/RvProject.h"

#include <stdexcept>

TForm72::TForm72(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form72"));
    ADOConnection1 = new Connection(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1 = new Query(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setConnection(ADOConnection1);
    ADOTable1 = new Table(this);
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    ADOTable1->setConnection(ADOConnection1);
    ADOTable1->setTableName(QStringLiteral("INFORMATION"));
    ADOTable2 = new Table(this);
    ADOTable2->setObjectName(QStringLiteral("ADOTable2"));
    ADOTable2->setConnection(ADOConnection1);
    ADOTable2->setTableName(QStringLiteral("SYNTELESTHS_VAT"));
    RvProject69 = new RvProject(QStringLiteral("RvProject69"), this);
    RvProject69->setTitle(QStringLiteral("Απόδειξη"));
    RvDataSetConnection69 =
        new RvDataSetConnection(QStringLiteral("RvDataSetConnection69"), ADOQuery1, this);
    RvDataSetConnection179INFORMAAP =
        new RvDataSetConnection(QStringLiteral("RvDataSetConnection179INFORMAAP"), ADOTable1, this);
    RvDataSetConnectionVATRATIO =
        new RvDataSetConnection(QStringLiteral("RvDataSetConnectionVATRATIO"), ADOTable2, this);
    FormCreate();
}

void TForm72::printNumber(int number) {
    TForm72* printout = LongLived::find<TForm72>();
    if (!printout)
        throw UserError(QStringLiteral("Η εκτύπωση αποδείξεων δεν είναι διαθέσιμη."));
    printout->ReceiptNumber = number;
    printout->PrintReceipt();
}

void TForm72::FormCreate() {
    ADOConnection1->setUp(Global::ConnectionString, false);
}

void TForm72::CloseAll() {
    ADOTable1->close();
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOTable2->close();
    ADOConnection1->close();
}

void TForm72::PrintReceipt() {
    // Whatever happens, nothing stays open between two printouts; the error itself still
    // reaches the caller.
    struct Closer {
        TForm72* form;
        ~Closer() { form->CloseAll(); }
    } closer{this};

    ADOConnection1->setUp(Global::ConnectionString, false);
    const QString statement =
        QStringLiteral("SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
                       "Format(POSO,'0.00') AS POSO, TAMEIO, Format(SYNOLIKO_POSO,'0.00') as "
                       "SYNOLIKO_POSO, Format(VAT,'0.00') as VAT, PERIGRAFH FROM APODEIKSEIS ") +
        QStringLiteral(" WHERE AR_APODEIKSHS=") + QString::number(ReceiptNumber);

    ADOConnection1->close();
    ADOConnection1->open();
    ADOQuery1->close();
    ADOQuery1->clearSql();
    ADOQuery1->addSql(statement);
    // The query stays closed: the report engine opens it when it reads the receipt.

    ADOTable1->open();
    ADOTable2->open();
    if (ADOTable2->isEmpty() || ADOTable2->fieldCount() == 0)
        throw UserError(QStringLiteral("Δεν έχει οριστεί συντελεστής Φ.Π.Α."));
    const double rate = ADOTable2->field(0)->asFloat();
    const QString file =
        rate == 0.0 ? QStringLiteral("/APODEIKSEIS.RAV") : QStringLiteral("/APODEIKSEISVAT.RAV");

    RvProject69->setProjectFile(Global::AppDirectory + file);
    RvProject69->setSubject(QString::number(ReceiptNumber));
    RvProject69->execute();
}
