#include "app/LongLivedScreens.h"

#include "receipts/Unit72.h"
#include "tools/Unit7.h"
#include "ui/LongLived.h"

LongLivedScreens::LongLivedScreens()
    : m_form7(std::make_unique<TForm7>()), m_form72(std::make_unique<TForm72>()) {
    LongLived::add(m_form7.get());
    LongLived::add(m_form72.get());
}

LongLivedScreens::~LongLivedScreens() {
    LongLived::clear();
}
