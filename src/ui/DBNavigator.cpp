#include "ui/DBNavigator.h"

#include "ui/Guard.h"
#include "ui/Seams.h"

#include <QHBoxLayout>
#include <QMetaEnum>
#include <QToolButton>

namespace {
struct ButtonLook {
    DBNavigator::Button button;
    const char16_t* glyph; // drawn by any Greek-capable face (DejaVu Sans has them all)
    const char16_t* hint;  // tooltip and accessible name: the buttons show only a glyph
};

constexpr ButtonLook kLooks[] = {
    {DBNavigator::First, u"|\u25C0", u"Πρώτη εγγραφή"},
    {DBNavigator::Prior, u"\u25C0", u"Προηγούμενη εγγραφή"},
    {DBNavigator::Next, u"\u25B6", u"Επόμενη εγγραφή"},
    {DBNavigator::Last, u"\u25B6|", u"Τελευταία εγγραφή"},
    {DBNavigator::Insert, u"+", u"Νέα εγγραφή"},
    {DBNavigator::Delete, u"\u2212", u"Διαγραφή εγγραφής"},
    {DBNavigator::Edit, u"\u25B2", u"Επεξεργασία εγγραφής"},
    {DBNavigator::Post, u"\u2714", u"Αποθήκευση"},
    {DBNavigator::Cancel, u"\u2718", u"Ακύρωση αλλαγών"},
    {DBNavigator::Refresh, u"\u21BB", u"Ανανέωση δεδομένων"},
};

int slotOf(DBNavigator::Button which) {
    for (int i = 0; i < int(std::size(kLooks)); ++i)
        if (kLooks[i].button == which)
            return i;
    return -1;
}

} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent) {
    static_assert(std::size(kLooks) == kCount);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QMetaEnum names = QMetaEnum::fromType<Button>();
    for (int i = 0; i < kCount; ++i) {
        const ButtonLook& look = kLooks[i];
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(names.valueToKey(look.button)));
        b->setText(QString::fromUtf16(look.glyph));
        b->setToolTip(hint(look.button));
        b->setAccessibleName(hint(look.button));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        const Button which = look.button;
        connect(b, &QToolButton::clicked, this, [this, which] { act(which); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    updateButtons();
}

QString DBNavigator::hint(Button which) {
    const int i = slotOf(which);
    return i < 0 ? QString() : QString::fromUtf16(kLooks[i].hint);
}

QToolButton* DBNavigator::button(Button which) const {
    const int i = slotOf(which);
    return i < 0 ? nullptr : m_buttons[i];
}

void DBNavigator::setDataSource(DataSource* source) {
    DataLink::setDataSource(source);
    updateButtons();
}

void DBNavigator::setVisibleButtons(Buttons buttons) {
    m_visible = buttons;
    for (int i = 0; i < kCount; ++i)
        m_buttons[i]->setVisible(buttons.testFlag(kLooks[i].button));
}

void DBNavigator::click(Button which) {
    if (QToolButton* b = button(which))
        b->click();
}

void DBNavigator::act(Button which) {
    runGuarded(this, [&] {
        DataSet* ds = dataSet();
        if (ds && ds->isActive()) {
            switch (which) {
            case First:
                ds->first();
                break;
            case Prior:
                ds->prior();
                break;
            case Next:
                ds->next();
                break;
            case Last:
                ds->last();
                break;
            case Insert:
                ds->insert();
                break;
            case Delete:
                if (!m_confirmDelete || Messages::confirm(this, deleteQuestion()))
                    ds->deleteRecord();
                break;
            case Edit:
                ds->edit();
                break;
            case Post:
                ds->post();
                break;
            case Cancel:
                ds->cancel();
                break;
            case Refresh:
                ds->refresh();
                break;
            }
        }
        emit clicked(which);
    });
    updateButtons(); // a refused action may have changed nothing the data set reports
}

void DBNavigator::updateButtons() {
    const DataSet* ds = dataSet();
    const bool active = ds && ds->isActive();
    const int row = active ? ds->currentRow() : -1;
    const int rows = active ? ds->rowCount() : 0;
    const bool editing = active && ds->isEditing();
    const bool modifiable = active && ds->canModify();
    const bool hasRow = row >= 0 && row < rows;
    auto set = [this](Button which, bool on) { button(which)->setEnabled(on); };
    set(First, hasRow && row > 0);
    set(Prior, hasRow && row > 0);
    set(Next, hasRow && row < rows - 1);
    set(Last, hasRow && row < rows - 1);
    set(Insert, modifiable);
    set(Delete, modifiable && hasRow);
    set(Edit, modifiable && hasRow && !editing);
    set(Post, editing);
    set(Cancel, editing);
    set(Refresh, active);
}
