#include "ui/ScreenLinks.h"

#include <QHash>

#include <stdexcept>

namespace ScreenLinks {

namespace {
QHash<ForCustomer, Opener>& openers() {
    static QHash<ForCustomer, Opener> all;
    return all;
}
} // namespace

void set(ForCustomer screen, Opener opener) {
    openers().insert(screen, std::move(opener));
}

void open(ForCustomer screen, QWidget* parent, const Customer& customer) {
    const Opener opener = openers().value(screen);
    if (!opener)
        throw std::runtime_error("Η οθόνη αυτή δεν είναι διαθέσιμη.");
    opener(parent, customer);
}

} // namespace ScreenLinks
