#include "app/Unit4.h"

#include "ui_Unit4.h"

#include "data/Global.h"
#include "ui/Guard.h"

TForm4::TForm4(QWidget* parent) : Screen(parent), ui(std::make_unique<Ui::TForm4>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);

    // FormCreate: the password is in place before any connection string is built.
    Global::DatabasePassword = QStringLiteral("KT40617LZQ");

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(false);
    Timer1->setInterval(kShowMilliseconds);
    connectGuarded(Timer1, &QTimer::timeout, this, &TForm4::Timer1Timer);
    Timer1->start();
}

TForm4::~TForm4() = default;

void TForm4::Timer1Timer() {
    Timer1->stop();
    close();
}
