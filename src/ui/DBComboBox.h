#pragma once

#include "ui/FieldLink.h"

#include <QComboBox>

// A drop-down list of fixed choices bound to a field of the current row: it shows the
// field's text, and choosing an item puts the row into editing and sets the field.
class DBComboBox : public QComboBox, public FieldLink {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget* parent = nullptr);

protected:
    void refresh() override;

private:
    void onActivated(int index);

    bool m_refreshing = false;
};
