#pragma once

#include "ui/Screen.h"

#include <QString>

#include <functional>
#include <memory>

class Connection;
class DataSource;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QVariant;
class Query;

namespace Ui {
class TForm18;
}

// The customer catalogue: the customers a search chose, sortable, and the hub from which one
// customer's other screens open. One instance serves the whole run; every showing runs
// CatalogueSql again.
class TForm18 : public Screen {
    Q_OBJECT
public:
    explicit TForm18(QWidget* parent = nullptr);
    ~TForm18() override;

    // Set by the search before showing: the whole statement, and its tail after the table
    // name (empty for all customers), which the printouts reuse.
    QString CatalogueSql;
    QString CatalogueFilter;

    // The current sort: a column and " ASC" or " DESC".
    QString SortField;
    QString SortDirection;

    static QString countText(int count); // "Βρέθηκαν 3 πελάτες"

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void DBNavigator1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton10Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton8Click();
    void RadioButton9Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button6Click();
    void Button7Click();
    void N6Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void N10Click();
    void Button5Click();
    void N5Click();
    void N11Click(); // her appointments
    void N12Click(); // her data, handed to her
    void N13Click(); // her record made anonymous

    void ApplySort();
    void ShowCustomerCount();
    void OpenCustomerRecord();
    void OpenCustomerHistory();
    void OpenCustomerVisits();
    void OpenCustomerCollections();
    void ReloadList();
    void OpenPrintouts();
    void ExportCustomerData();
    void AnonymiseCustomer();
    QVariant CurrentCustomerId() const; // null when no row is current
    // Runs a step that reorders or reloads the list, then makes the customer who was current
    // before it current again; the first row when she is gone.
    void KeepCurrentCustomer(const std::function<void()>& reorder);
    using Handler = void (TForm18::*)();

    std::unique_ptr<Ui::TForm18> ui;
    QMenuBar* MainMenu1;
    QMenu* N1;
    QAction* N2;
    QAction* N3;
    QAction* N4;
    QAction* N6;
    QAction* KLLLL1;
    QAction* N5;
    QAction* N10;
    QAction* N11;
    QAction* N12;
    QAction* N13;
    Connection* ADOConnection1;
    Query* ADOQuery1;
    DataSource* DataSource1;
};
