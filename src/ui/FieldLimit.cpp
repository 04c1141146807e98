#include "ui/FieldLimit.h"

#include "ui/Seams.h"

#include <QLabel>
#include <QLineEdit>
#include <QValidator>

namespace FieldLimit {

namespace {

int showing = 0;

// The field's caption: the label that names it, without its accelerator mark.
QString captionOf(const QLineEdit* edit) {
    for (const QLabel* label : edit->window()->findChildren<QLabel*>())
        if (label->buddy() == edit) {
            QString text = label->text();
            text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            text.remove(u'&');
            text.replace(u'\x01', u'&');
            return text.trimmed();
        }
    return edit->accessibleName();
}

// Sits on the edit as its validator, which every insertion passes, and watches its text for
// what is set past the validator (an assistive tool's insert or replace).
class Guard : public QValidator {
public:
    Guard(QLineEdit* edit, int limit) : QValidator(edit), m_edit(edit), m_limit(limit) {
        setObjectName(QStringLiteral("FieldLimit"));
        m_known = edit->text();
        connect(edit, &QLineEdit::textChanged, this, &Guard::textChanged);
    }

    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }

    State validate(QString& input, int& /*pos*/) const override {
        // Text that is already there may stay, and stored text shows whole; only text that
        // grows past the limit is refused.
        if (input.size() <= m_limit || input.size() <= m_known.size() || showing > 0)
            return Acceptable;
        if (input.size() - m_known.size() > 1)
            tell();
        return Invalid;
    }

private:
    void textChanged(const QString& text) {
        if (m_reverting)
            return;
        if (showing == 0 && text.size() > m_limit && text.size() > m_known.size()) {
            // Set past the validator: put the text back as it was.
            if (text.size() - m_known.size() > 1)
                tell();
            m_reverting = true;
            m_edit->setText(m_known);
            m_reverting = false;
            return;
        }
        m_known = text;
    }

    // After the edit has finished the change it refuses: a message box must not open
    // inside the edit's own handling.
    void tell() const {
        if (m_telling)
            return;
        m_telling = true;
        QMetaObject::invokeMethod(
            const_cast<Guard*>(this),
            [this] {
                m_telling = false;
                Messages::information(m_edit->window(), refusedText(captionOf(m_edit), m_limit));
            },
            Qt::QueuedConnection);
    }

    QLineEdit* m_edit;
    int m_limit;
    QString m_known; // the text before the change being checked
    bool m_reverting = false;
    mutable bool m_telling = false;
};

Guard* guardOf(const QLineEdit* edit) {
    return edit->findChild<Guard*>(QStringLiteral("FieldLimit"), Qt::FindDirectChildrenOnly);
}

} // namespace

void set(QLineEdit* edit, int maxChars) {
    if (Guard* guard = guardOf(edit)) {
        guard->setLimit(maxChars);
        return;
    }
    auto* guard = new Guard(edit, maxChars);
    edit->setValidator(guard);
    edit->setMaxLength(kNone);
}

int of(const QLineEdit* edit) {
    const Guard* guard = guardOf(edit);
    return guard ? guard->limit() : edit->maxLength();
}

void guardChildren(QWidget* window) {
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        if (edit->maxLength() < kNone && !edit->validator())
            set(edit, edit->maxLength());
}

QString refusedText(const QString& caption, int maxChars) {
    const QString limit = maxChars == 1 ? QStringLiteral("έως 1 χαρακτήρα")
                                        : QStringLiteral("έως %1 χαρακτήρες").arg(maxChars);
    const QString field = caption.isEmpty() ? QStringLiteral("στο πεδίο")
                                            : QStringLiteral("στο πεδίο «%1»").arg(caption);
    return QStringLiteral("Το κείμενο που επικολλήσατε δεν χωράει %1 (%2) και δεν καταχωρήθηκε.")
        .arg(field, limit);
}

Showing::Showing() {
    ++showing;
}

Showing::~Showing() {
    --showing;
}

} // namespace FieldLimit
