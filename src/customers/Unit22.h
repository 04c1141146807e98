#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class Query;
class RvDataSetConnection;
class RvProject;

namespace Ui {
class TForm22;
}

// The customer printouts: the cards of the last search's customers or of the selected one,
// the same with their history, and the list of the search. Created once at program start;
// the catalogue sets the three fields before each showing.
class TForm22 : public Screen {
    Q_OBJECT
public:
    explicit TForm22(QWidget* parent = nullptr);
    ~TForm22() override;

    QString CustomerId;      // the catalogue's current customer
    QString CatalogueFilter; // the tail of the search's statement, empty for all customers
    QString CatalogueSql;    // the search's whole statement

    // The column lists the printouts' statements begin with, each ending in a blank.
    static QString dataColumns();
    static QString historyColumns();

    Connection* ADOConnection1;
    Query* ADOQuery1;
    RvDataSetConnection* RvDataSetConnection7;
    RvProject* RvProject5; // customer data
    RvProject* RvProject7; // customer history
    RvProject* RvProject9; // customer list

protected:
    void FormClose() override;

private:
    void Button1Click();
    void Button2Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button3Click();

    void OpenConnection();
    void Print(const QString& statement, RvProject* project, const QString& file);
    QString SelectedCustomer() const; // " WHERE ID=" and the number

    std::unique_ptr<Ui::TForm22> ui;
};
