#pragma once

#include <QString>

#include <functional>

class QWidget;

// Screens of one folder that another folder's screens open: the customer catalogue opens the
// receipt screens and the appointment search on the chosen customer. The program's entry
// links them (linkScreens), so that no screen folder includes another's headers.
namespace ScreenLinks {

struct Customer {
    QString id;
    QString name;
    QString surname;
};

enum class ForCustomer { IssueReceipt, Collections, AppointmentSearch };

using Opener = std::function<void(QWidget* parent, const Customer& customer)>;

void set(ForCustomer screen, Opener opener);
// Shows the screen modally on the customer; throws when no screen is linked.
void open(ForCustomer screen, QWidget* parent, const Customer& customer);

} // namespace ScreenLinks
