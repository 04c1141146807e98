#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QPointer>

#include <exception>

class QLabel;

// The base of every screen: the house look (sky-blue, Tahoma 8 pt, fixed size, centred),
// Esc for the exit button, and the show and close hooks run inside the error guard.
class Screen : public QDialog {
    Q_OBJECT
public:
    explicit Screen(QWidget* parent = nullptr);

    // The button Esc clicks; with none, Esc does nothing (some screens may not be left so).
    void setCancelButton(QAbstractButton* button);
    QAbstractButton* cancelButton() const { return m_cancelButton; }

    void done(int result) override;
    void setVisible(bool visible) override;

    // An error of FormShow normally goes to the error box. A caller that must handle it
    // itself (start-up ends the program on any error) asks for it to be kept instead: the
    // screen then closes at once and the error waits in showFailure().
    void setKeepShowErrors(bool on) { m_keepShowErrors = on; }
    std::exception_ptr showFailure() const { return m_showFailure; }

    static QColor skyBlue() { return QColor(166, 202, 240); }
    static QFont screenFont(); // Tahoma 8 pt, or a Greek-capable face where it is missing

    // A value shown in bold red (counts, totals).
    static void makeValueLabel(QLabel* label);
    // The red "*" beside a field that must be filled in.
    static void makeRequiredMark(QLabel* label);

protected:
    virtual void FormShow() {}
    // Asked before every close; false keeps the screen open.
    virtual bool FormCloseQuery() { return true; }
    // Runs on every close: the exit button, Esc, the close box, accept, reject or done.
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    // Puts the cursor into the first control that Tab reaches.
    void focusFirstInput();
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fixGeometry();

    QPointer<QAbstractButton> m_cancelButton;
    bool m_geometryFixed = false;
    bool m_shownBefore = false;
    bool m_keepShowErrors = false;
    std::exception_ptr m_showFailure;
};
