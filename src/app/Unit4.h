#pragma once

#include "ui/Screen.h"

#include <QTimer>

#include <memory>

namespace Ui {
class TForm4;
}

// The splash window: one picture, no frame, closes itself after three seconds.
class TForm4 : public Screen {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    QTimer* Timer1;

    void Timer1Timer();

    static constexpr int kShowMilliseconds = 3000;

private:
    std::unique_ptr<Ui::TForm4> ui;
};
