#pragma once

#include "ui/Screen.h"

#include <QString>

#include <memory>

class Connection;
class Query;
class RvDataSetConnection;
class RvProject;

namespace Ui {
class TForm7;
}

// The notes printout: all notes, or the one whose number the notes book puts in NoteId
// before showing it. Created once at program start; it stays open after printing, so that
// the person may print again.
class TForm7 : public Screen {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    QString NoteId;

    Connection* ADOConnection1;
    Query* ADOQuery1;
    RvDataSetConnection* RvDataSetConnection2;
    RvProject* RvProject2;

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void PrintNotes(const QString& statement);

    std::unique_ptr<Ui::TForm7> ui;
};
