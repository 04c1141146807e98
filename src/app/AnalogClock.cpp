#include "app/AnalogClock.h"

#include "ui/Seams.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>

AnalogClock::AnalogClock(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this)) {
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &AnalogClock::tick);
    m_timer->start();
    tick();
}

void AnalogClock::tick() {
    m_time = Clock::now().time();
    update();
}

QString AnalogClock::readout() const {
    return m_time.toString(QStringLiteral("HH:mm:ss"));
}

namespace {
// A hand as a tapered shape from a little behind the centre to its length.
void drawHand(QPainter& p, double degrees, double length, double width, const QColor& color) {
    p.save();
    p.rotate(degrees);
    QPainterPath hand;
    hand.moveTo(-width / 2, length * 0.12);
    hand.lineTo(-width / 4, -length);
    hand.lineTo(width / 4, -length);
    hand.lineTo(width / 2, length * 0.12);
    hand.closeSubpath();
    p.setPen(QPen(color.darker(160), 0.8));
    p.setBrush(color);
    p.drawPath(hand);
    p.restore();
}
} // namespace

void AnalogClock::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const QFontMetrics fm(font());
    const int textHeight = fm.height() + 6;
    const int side = std::max(20, std::min(width(), height() - textHeight));
    const QRectF face((width() - side) / 2.0 + 2, 2, side - 4, side - 4);
    const double r = face.width() / 2;

    p.setPen(QPen(QColor(40, 40, 60), 2));
    p.setBrush(QColor(250, 250, 245));
    p.drawEllipse(face);

    p.save();
    p.translate(face.center());
    p.setPen(QPen(QColor(40, 40, 60), 1));
    for (int i = 0; i < 60; ++i) {
        const bool hour = i % 5 == 0;
        p.setPen(QPen(QColor(40, 40, 60), hour ? 2.2 : 0.8));
        p.drawLine(QPointF(0, -r * (hour ? 0.80 : 0.88)), QPointF(0, -r * 0.94));
        p.rotate(6);
    }
    const QTime t = m_time;
    drawHand(p, 30.0 * ((t.hour() % 12) + t.minute() / 60.0), r * 0.50, r * 0.11, hourHandColor());
    drawHand(p, 6.0 * (t.minute() + t.second() / 60.0), r * 0.75, r * 0.08, minuteHandColor());
    p.save();
    p.rotate(6.0 * t.second());
    p.setPen(QPen(QColor(200, 30, 30), 1.0));
    p.drawLine(QPointF(0, r * 0.15), QPointF(0, -r * 0.86));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 60));
    p.drawEllipse(QPointF(0, 0), r * 0.05, r * 0.05);
    p.restore();

    const QRectF text(0, side, width(), textHeight);
    p.setPen(QPen(QColor(40, 40, 60), 1));
    p.setBrush(Qt::white);
    const double w = fm.horizontalAdvance(readout()) + 14;
    const QRectF box(text.center().x() - w / 2, text.top() + 1, w, textHeight - 4);
    p.drawRoundedRect(box, 3, 3);
    p.drawText(box, Qt::AlignCenter, readout());
}
