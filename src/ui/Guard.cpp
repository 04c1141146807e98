#include "ui/Guard.h"

#include "data/StoreError.h"
#include "data/UserError.h"
#include "ui/Seams.h"

void showError(QWidget* parent, const std::exception& e) {
    Messages::error(parent, StoreError::forPerson(e));
}

bool runGuarded(QWidget* parent, const std::function<void()>& f) {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        showError(parent, e);
    } catch (...) {
        Messages::error(parent, UserErrors::unexpected());
    }
    return false;
}
