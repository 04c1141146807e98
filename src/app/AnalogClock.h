#pragma once

#include <QTime>
#include <QWidget>

class QTimer;

// An analogue clock with a digital read-out below the face; it keeps itself current.
class AnalogClock : public QWidget {
    Q_OBJECT
public:
    explicit AnalogClock(QWidget* parent = nullptr);

    QTime time() const { return m_time; }
    QString readout() const; // "hh:mm:ss"

    static QColor hourHandColor() { return QColor(0, 255, 255); }   // aqua
    static QColor minuteHandColor() { return QColor(0, 128, 128); } // teal

    QSize sizeHint() const override { return QSize(150, 170); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tick();

    QTimer* m_timer;
    QTime m_time;
};
