#include "ui/SpinEdit.h"

#include <QLineEdit>

#include <algorithm>

namespace {
// The number a text names, if it names one.
bool wholeNumber(const QString& text, int* value) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok)
        *value = v;
    return ok;
}
} // namespace

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent), m_shownText(lineEdit()->text()) {
    // The spin box writes its own corrections with the edit's signals blocked; each way the
    // text can change is listened to, and each change told once.
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::tellChange);
    connect(this, &QSpinBox::textChanged, this, &SpinEdit::tellChange);
    connect(this, &QAbstractSpinBox::editingFinished, this, &SpinEdit::tellChange);
}

void SpinEdit::tellChange() {
    const QString now = lineEdit()->text();
    if (now == m_shownText)
        return;
    m_shownText = now;
    emit textEdited(now);
}

int SpinEdit::textValue() const {
    int v = minimum();
    return wholeNumber(lineEdit()->text(), &v) ? v : minimum();
}

QValidator::State SpinEdit::validate(QString& /*input*/, int& /*pos*/) const {
    // Any text may stand while it is typed; leaving the field reads it as a bounded value.
    return QValidator::Acceptable;
}

int SpinEdit::valueFromText(const QString& text) const {
    int v = minimum();
    return wholeNumber(text, &v) ? v : minimum();
}

void SpinEdit::stepBy(int steps) {
    const qint64 next = qint64(textValue()) + qint64(steps) * singleStep();
    setValue(int(std::clamp<qint64>(next, minimum(), maximum())));
    selectAll();
    tellChange(); // the value held may not have changed, only its text
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    const int v = textValue();
    StepEnabled e = StepNone;
    if (v < maximum())
        e |= StepUpEnabled;
    if (v > minimum())
        e |= StepDownEnabled;
    return e;
}
