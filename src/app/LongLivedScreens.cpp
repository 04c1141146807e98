#include "app/LongLivedScreens.h"

#include "appointments/Unit24.h"
#include "customers/Unit18.h"
#include "customers/Unit22.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "receipts/Unit56.h"
#include "receipts/Unit57.h"
#include "receipts/Unit72.h"
#include "tools/Unit7.h"
#include "ui/LongLived.h"
#include "ui/ScreenLinks.h"
#include "ui/Seams.h"

namespace {
template <class T> void showOn(QWidget* parent, const ScreenLinks::Customer& c) {
    T screen(parent);
    screen.CustomerId = c.id;
    screen.CustomerName = c.name;
    screen.CustomerSurname = c.surname;
    Modal::exec(screen);
}
} // namespace

void linkScreens() {
    using ScreenLinks::ForCustomer;
    ScreenLinks::set(ForCustomer::IssueReceipt, showOn<TForm56>);
    ScreenLinks::set(ForCustomer::Collections, showOn<TForm57>);
    ScreenLinks::set(ForCustomer::AppointmentSearch,
                     [](QWidget* parent, const ScreenLinks::Customer& c) {
                         TForm24 search(parent);
                         search.SearchText = c.surname;
                         Modal::exec(search);
                     });
}

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
    linkScreens();
}

LongLivedScreens::~LongLivedScreens() {
    LongLived::clear();
}
