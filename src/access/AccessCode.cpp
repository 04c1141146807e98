#include "access/AccessCode.h"

#include "data/DataSet.h"
#include "data/Global.h"
#include "ui/FieldLimit.h"

#include <QLineEdit>

namespace AccessCode {

void prepareCodeField(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    FieldLimit::set(edit, kMaxLength);
}

Qt::WindowFlags captionWithoutButtons() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

QString firstColumnOfFirstRow(const DataSet& table) {
    if (!table.isActive() || table.rowCount() == 0 || table.fieldCount() == 0)
        return QString();
    return table.cell(0, 0).toString().trimmed();
}

QString updateStatement(const QString& code) {
    return QStringLiteral("UPDATE SECURITY SET [PASSWORD]=") + Global::QuotedText(code);
}

void store(Command& command, const QString& code) {
    command.setCommandText(updateStatement(code));
    if (command.execute() > 0)
        return;
    command.setCommandText(QStringLiteral("INSERT INTO SECURITY([PASSWORD]) VALUES(") +
                           Global::QuotedText(code) + QLatin1Char(')'));
    command.execute();
}

} // namespace AccessCode
