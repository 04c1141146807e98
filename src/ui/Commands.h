#pragma once

#include "ui/Guard.h"

#include <QAbstractButton>
#include <QAction>

#include <type_traits>

// Binds a menu item and a button (either may be null) to a command of the receiver. Without
// a handler both stay in place but disabled: the command's screen is not in the program yet.
template <class R>
void bindCommand(R* receiver, QAction* item, QAbstractButton* button,
                 std::type_identity_t<void (R::*)()> handler) {
    if (item)
        item->setEnabled(handler != nullptr);
    if (button)
        button->setEnabled(handler != nullptr);
    if (!handler)
        return;
    if (item)
        connectGuarded(item, &QAction::triggered, receiver, handler);
    if (button)
        connectGuarded(button, &QAbstractButton::clicked, receiver, handler);
}
