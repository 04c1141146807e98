#pragma once

#include "data/Connection.h"
#include "data/DataSet.h"

#include <QFlags>
#include <QWidget>

#include <array>

class QToolButton;

// A bar of buttons that walk and edit a data set. The screen chooses which buttons show;
// each is enabled only when its action makes sense for the current row, and clicked() tells
// the screen after each action.
class DBNavigator : public QWidget, public DataLink {
    Q_OBJECT
public:
    enum Button {
        First = 0x001,
        Prior = 0x002,
        Next = 0x004,
        Last = 0x008,
        Insert = 0x010,
        Delete = 0x020,
        Edit = 0x040,
        Post = 0x080,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_ENUM(Button)
    Q_DECLARE_FLAGS(Buttons, Button)
    static constexpr Buttons AllButtons = Buttons::fromInt(0x3FF);
    // The seven of an editing book: the four moves, insert, delete and post (typing starts
    // an edit, and moving away saves or drops it).
    static constexpr Buttons BookButtons = Buttons::fromInt(0x0BF);

    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    void setVisibleButtons(Buttons buttons);
    Buttons visibleButtons() const { return m_visible; }
    // Delete asks "Delete record?" first (on by default).
    void setConfirmDelete(bool on) { m_confirmDelete = on; }
    bool confirmDelete() const { return m_confirmDelete; }

    QToolButton* button(Button which) const;
    // Runs a button's action as a click does (errors shown, clicked() emitted).
    void click(Button which);

    static QString hint(Button which);
    static QString deleteQuestion() { return QStringLiteral("Delete record?"); }

signals:
    void clicked(DBNavigator::Button button);

protected:
    void activeChanged() override { updateButtons(); }
    void dataSetChanged() override { updateButtons(); }
    void recordChanged(const Field*) override { updateButtons(); }
    void scrolled() override { updateButtons(); }
    void editingChanged() override { updateButtons(); }

private:
    void act(Button which);
    void updateButtons();

    static constexpr int kCount = 10;
    std::array<QToolButton*, kCount> m_buttons{};
    Buttons m_visible = AllButtons;
    bool m_confirmDelete = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DBNavigator::Buttons)
