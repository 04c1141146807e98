#pragma once

#include <QWidget>

#include <memory>

class DataSource;

namespace Ui {
class CustomerFields;
}

// The nine captioned fields of a customer, as the registration and the record screens both
// lay them out: one per line in tab order, the required ones marked with a red "*".
class CustomerFields : public QWidget {
    Q_OBJECT
public:
    explicit CustomerFields(QWidget* parent = nullptr);
    ~CustomerFields() override;

    void setDataSource(DataSource* source);
    // The first field, where typing starts.
    QWidget* firstField() const;

    // The columns of the fields, in their order on screen.
    static const QStringList& columns();

private:
    std::unique_ptr<Ui::CustomerFields> ui;
};
