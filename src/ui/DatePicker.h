#pragma once

#include <QDateEdit>

// A date field with a drop-down calendar, shown d/M/yyyy. A date is typed the way it is
// written, "28/2/2024": where a part is complete with its digits and the field moves on by
// itself, the "/" typed after it does not move on a second time.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool m_movedOn = false; // the last key completed a part and moved to the next one
};
