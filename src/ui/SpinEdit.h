#pragma once

#include <QSpinBox>

// A whole-number field with up and down arrows whose text is free while it is typed: the
// value is the typed number even outside the bounds (a text that is no whole number counts as
// the minimum), and leaving the field corrects the text to the nearest bound. textEdited tells
// of every change of the text, typed or stepped.
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    // The number the text names now, not held to the bounds.
    int textValue() const;

signals:
    void textEdited(const QString& text);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private:
    void tellChange();

    QString m_shownText; // as last told
};
