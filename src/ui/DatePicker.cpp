#include "ui/DatePicker.h"

#include "data/Global.h"
#include "data/Values.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
QString shown(const QDate& d) {
    return Values::displayText(FieldType::Date, d);
}

bool isTextKey(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    return !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}
} // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("d/M/yyyy"));
    setCalendarPopup(true);
}

QString DatePicker::notADateText(const QString& typed) {
    if (typed.trimmed().isEmpty())
        return QStringLiteral("Γράψτε μια ημερομηνία ως ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/12/2007).");
    try {
        Values::fromText(FieldType::Date, typed);
    } catch (const InputError& e) {
        return e.message(); // the wording every date field of the program uses
    }
    return {};
}

QString DatePicker::outOfRangeText(const QDate& date) const {
    return QStringLiteral("Η ημερομηνία %1 είναι εκτός ορίων. Δώστε ημερομηνία από %2 έως %3.")
        .arg(shown(date), shown(minimumDate()), shown(maximumDate()));
}

void DatePicker::startTyping(bool keepText) {
    m_typing = true;
    // The field's own reading of its parts stays out of the way until the whole text is read.
    lineEdit()->blockSignals(true);
    if (!keepText)
        lineEdit()->setText(QString());
}

void DatePicker::stopTyping() {
    m_typing = false;
    lineEdit()->blockSignals(false);
}

void DatePicker::dropTyped() {
    if (!m_typing)
        return;
    stopTyping();
    showDate();
}

void DatePicker::showDate() {
    const QString text = textFromDateTime(dateTime());
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

bool DatePicker::acceptTyped() {
    if (!m_typing)
        return true;
    const QString typed = lineEdit()->text();
    const std::optional<QDate> d = Global::ParseTypedDate(typed, Global::CurrentYear());
    QString refusal;
    if (!d)
        refusal = notADateText(typed);
    else if (*d < minimumDate() || *d > maximumDate())
        refusal = outOfRangeText(*d);
    if (!refusal.isEmpty()) {
        if (!hasFocus())
            setFocus(Qt::OtherFocusReason);
        Messages::error(this, refusal);
        lineEdit()->selectAll(); // retyping replaces it; End or a click corrects it
        return false;
    }
    stopTyping();
    setDate(*d);
    showDate(); // the same date again changes nothing by itself
    return true;
}

QValidator::State DatePicker::validate(QString& input, int& pos) const {
    if (m_typing)
        return input.size() <= 40 ? QValidator::Intermediate : QValidator::Invalid;
    return QDateEdit::validate(input, pos);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    QLineEdit* line = lineEdit();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool editingKey = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    if (!m_typing) {
        if (isReadOnly() ||
            !(isTextKey(event) || editingKey || event->matches(QKeySequence::Paste))) {
            QDateEdit::keyPressEvent(event);
            return;
        }
        // A new date replaces the one on show; Backspace or Delete correct it in place.
        startTyping(editingKey);
    }
    event->accept();
    if (isTextKey(event)) {
        line->insert(event->text());
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        line->paste();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        line->selectAll();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        line->copy();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        line->cut();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
        line->backspace();
        return;
    case Qt::Key_Delete:
        line->del();
        return;
    case Qt::Key_Left:
        line->cursorBackward(shift);
        return;
    case Qt::Key_Right:
        line->cursorForward(shift);
        return;
    case Qt::Key_Home:
        line->home(shift);
        return;
    case Qt::Key_End:
        line->end(shift);
        return;
    case Qt::Key_Escape:
        dropTyped(); // a second Esc reaches the screen
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_F4:
        // Enter goes on to the screen's button, the others step or open the calendar, each
        // from the typed date.
        if (acceptTyped())
            QDateEdit::keyPressEvent(event);
        return;
    default:
        event->ignore(); // a modifier on its own, a shortcut
        return;
    }
}

bool DatePicker::focusNextPrevChild(bool next) {
    if (!acceptTyped())
        return true;
    // Tab goes on to the next field, as everywhere else; the arrows reach the parts.
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::focusInEvent(QFocusEvent* event) {
    if (!m_typing) {
        QDateEdit::focusInEvent(event);
        return;
    }
    // Back after a refusal or a message: the typed text stays as it is.
    QCoreApplication::sendEvent(lineEdit(), event);
    QWidget::focusInEvent(event);
}

void DatePicker::focusOutEvent(QFocusEvent* event) {
    if (m_typing) {
        const Qt::FocusReason reason = event->reason();
        if (!window()->isVisible()) {
            dropTyped(); // the screen is closing
        } else if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
            // Another window or a menu for a moment: still in the field.
            QCoreApplication::sendEvent(lineEdit(), event);
            QWidget::focusOutEvent(event);
            return;
        } else if (!acceptTyped()) {
            return;
        }
    }
    QDateEdit::focusOutEvent(event);
}

void DatePicker::mousePressEvent(QMouseEvent* event) {
    // The calendar button opens on the typed date, or not at all when it is refused.
    if (m_typing && !acceptTyped()) {
        event->accept();
        return;
    }
    QDateEdit::mousePressEvent(event);
}

void DatePicker::wheelEvent(QWheelEvent* event) {
    if (m_typing) {
        event->ignore();
        return;
    }
    QDateEdit::wheelEvent(event);
}

void DatePicker::hideEvent(QHideEvent* event) {
    dropTyped();
    QDateEdit::hideEvent(event);
}
