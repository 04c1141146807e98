#include "ui/DBText.h"

DBText::DBText(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    refresh();
}

void DBText::refresh() {
    const Field* f = field();
    setText(f ? f->displayText() : QString());
}
