#include "app/LongLivedScreens.h"

#include "receipts/Unit72.h"
#include "ui/LongLived.h"

LongLivedScreens::LongLivedScreens() : m_form72(std::make_unique<TForm72>()) {
    LongLived::add(m_form72.get());
}

LongLivedScreens::~LongLivedScreens() {
    LongLived::clear();
}
