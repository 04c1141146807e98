#include "app/Unit62.h"

#include "ui_Unit62.h"

#include "ui/Guard.h"
#include "ui/Seams.h"
#include "ui/Vendor.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

TForm62::TForm62(QWidget* parent) : Screen(parent), ui(std::make_unique<Ui::TForm62>()) {
    ui->setupUi(this);
    // A single border with the system menu only.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    ui->Label2->setText(Vendor::version());
    for (QLabel* link : {ui->Label6, ui->Label8}) {
        QPalette p = link->palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(p);
        QFont f = link->font();
        f.setUnderline(true);
        link->setFont(f);
        link->installEventFilter(this);
    }
    ui->Label6->setText(Vendor::webSiteText());
    ui->Label8->setText(Vendor::emailAddress());
    setCancelButton(ui->Button1);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm62::Button1Click);
}

TForm62::~TForm62() = default;

void TForm62::Button1Click() {
    close();
}

void TForm62::WebSiteClick() {
    Launcher::openUrl(Vendor::webSite());
}

void TForm62::EmailClick() {
    Launcher::openUrl(Vendor::emailUrl());
}

bool TForm62::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Label6)
            runGuarded(this, [this] { WebSiteClick(); });
        else if (watched == ui->Label8)
            runGuarded(this, [this] { EmailClick(); });
    }
    return Screen::eventFilter(watched, event);
}

void TForm62::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    runGuarded(this, [this] { WebSiteClick(); });
}
