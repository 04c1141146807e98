#pragma once

#include <QDateEdit>

// A date field with a drop-down calendar, shown d/M/yyyy. A date is typed whole, the way it
// is written ("28/2/2024", "1/1/08", "5/3"): the first character typed replaces the date on
// show, however the field was entered, and the text is read as one date when the field is
// left (Tab, Enter, a click elsewhere, the arrows or the calendar). Text that names no date,
// or a date outside the field's range, is refused with a message and stays as typed; Esc
// gives the typing up. Tab leaves the field; the arrows step the part under the cursor.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // True while the field holds typed text rather than its date.
    bool isTyping() const { return m_typing; }

    // The refusals, as shown.
    static QString notADateText(const QString& typed);
    QString outOfRangeText(const QDate& date) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    void startTyping(bool keepText);
    void stopTyping();
    // Reads the typed text into the date; false, with the message shown, when it is refused.
    bool acceptTyped();
    void dropTyped(); // shows the date again
    void showDate();

    bool m_typing = false;
};
