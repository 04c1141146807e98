#include "app/LongLivedScreens.h"

#include "customers/Unit18.h"
#include "customers/Unit22.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "receipts/Unit72.h"
#include "tools/Unit7.h"
#include "ui/LongLived.h"

LongLivedScreens::LongLivedScreens()
    : m_form7(std::make_unique<TForm7>()), m_form14(std::make_unique<TForm14>()),
      m_form15(std::make_unique<TForm15>()), m_form18(std::make_unique<TForm18>()),
      m_form22(std::make_unique<TForm22>()), m_form72(std::make_unique<TForm72>()) {
    LongLived::add(m_form7.get());
    LongLived::add(m_form14.get());
    LongLived::add(m_form15.get());
    LongLived::add(m_form18.get());
    LongLived::add(m_form22.get());
    LongLived::add(m_form72.get());
}

LongLivedScreens::~LongLivedScreens() {
    LongLived::clear();
}
