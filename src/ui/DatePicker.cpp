#include "ui/DatePicker.h"

#include <QKeyEvent>

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("d/M/yyyy"));
    setCalendarPopup(true);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    if (event->text() == QStringLiteral("/") && m_movedOn) {
        m_movedOn = false;
        event->accept();
        return;
    }
    const Section before = currentSection();
    QDateEdit::keyPressEvent(event);
    const bool digit = event->text().size() == 1 && event->text().at(0).isDigit();
    m_movedOn = digit && currentSection() != before;
}

void DatePicker::focusInEvent(QFocusEvent* event) {
    m_movedOn = false;
    QDateEdit::focusInEvent(event);
}
