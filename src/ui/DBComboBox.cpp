#include "ui/DBComboBox.h"

#include "ui/Guard.h"

#include <QAbstractItemModel>

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int index) { onActivated(index); });
    // A list filled after binding would otherwise show its first item whatever the field holds.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { refresh(); });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { refresh(); });
    refresh();
}

void DBComboBox::refresh() {
    const Field* f = field();
    m_refreshing = true;
    // A value that is not one of the choices shows as blank, as a fixed list can show no other.
    setCurrentIndex(f ? findText(f->displayText()) : -1);
    m_refreshing = false;
}

void DBComboBox::onActivated(int index) {
    if (m_refreshing)
        return;
    const QString chosen = itemText(index);
    const bool done = runGuarded(this, [&] {
        if (beginEdit())
            field()->setText(chosen);
    });
    // Whatever did not reach the field is not left on show.
    if (!done || !field() || field()->displayText() != chosen)
        refresh();
}
