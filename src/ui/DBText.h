#pragma once

#include "ui/FieldLink.h"

#include <QLabel>

// A label showing a field of the current row as displayed. Screens also keep hidden ones to
// read the current row's values the way the user sees them.
class DBText : public QLabel, public FieldLink {
    Q_OBJECT
public:
    explicit DBText(QWidget* parent = nullptr);

protected:
    void refresh() override;
};
