#pragma once

#include <QWidget>

class Connection;
class Query;
class RvDataSetConnection;
class RvProject;
class Table;

// The receipt printout: a window that is never shown, created once at program start.
// A caller sets ReceiptNumber and calls PrintReceipt.
class TForm72 : public QWidget {
    Q_OBJECT
public:
    explicit TForm72(QWidget* parent = nullptr);

    int ReceiptNumber = 0;

    // Prints receipt ReceiptNumber with the layout the VAT rate calls for; returns when the
    // engine has finished. Errors reach the caller.
    void PrintReceipt();
    // The same through the one printout of the program: receipt `number` (0 previews the
    // header). Throws when the printout is not there.
    static void printNumber(int number);

    Connection* ADOConnection1 = nullptr;
    Query* ADOQuery1 = nullptr;
    Table* ADOTable1 = nullptr; // INFORMATION
    Table* ADOTable2 = nullptr; // SYNTELESTHS_VAT, only read
    RvProject* RvProject69 = nullptr;
    RvDataSetConnection* RvDataSetConnection69 = nullptr;
    RvDataSetConnection* RvDataSetConnection179INFORMAAP = nullptr;
    RvDataSetConnection* RvDataSetConnectionVATRATIO = nullptr;

private:
    void FormCreate();
    void CloseAll();
};
