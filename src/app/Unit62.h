#pragma once

#include "ui/Screen.h"

#include <memory>

namespace Ui {
class TForm62;
}

// The about window: product, version and the maker's contact data.
class TForm62 : public Screen {
    Q_OBJECT
public:
    explicit TForm62(QWidget* parent = nullptr);
    ~TForm62() override;

    void Button1Click();
    void WebSiteClick();
    void EmailClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::unique_ptr<Ui::TForm62> ui;
};
