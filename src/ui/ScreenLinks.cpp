#include "ui/ScreenLinks.h"

#include "data/UserError.h"

#include <QHash>

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
        throw UserError(QStringLiteral("Η οθόνη αυτή δεν είναι διαθέσιμη."));
    opener(parent, customer);
}

} // namespace ScreenLinks
