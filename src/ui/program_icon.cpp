#include "program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace inkrelay::ui {

namespace {

// A stroke of changing colour runs under a pen nib whose tip ends it: ink handed on to a canvas.
void DrawIcon(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath stroke(QPointF(3, 27));
    stroke.cubicTo(QPointF(8, 18), QPointF(12, 31), QPointF(19, 22));
    QLinearGradient ink(QPointF(3, 27), QPointF(19, 22));
    ink.setColorAt(0.0, QColor(0xE0, 0x20, 0x20));
    ink.setColorAt(0.5, QColor(0x20, 0xA0, 0x30));
    ink.setColorAt(1.0, QColor(0x20, 0x50, 0xE0));
    painter.setPen(QPen(QBrush(ink), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stroke);

    // The nib, drawn pointing down-left from the upper right corner.
    painter.translate(19, 22);
    painter.rotate(-45);
    QPainterPath nib(QPointF(0, 0));
    nib.lineTo(QPointF(7, -4.5));
    nib.lineTo(QPointF(17, -4.5));
    nib.lineTo(QPointF(17, 4.5));
    nib.lineTo(QPointF(7, 4.5));
    nib.closeSubpath();
    QLinearGradient metal(QPointF(0, -4.5), QPointF(0, 4.5));
    metal.setColorAt(0.0, QColor(0xF0, 0xC8, 0x50));
    metal.setColorAt(1.0, QColor(0xA0, 0x70, 0x10));
    painter.setPen(QPen(QColor(0x40, 0x30, 0x10), 1.0));
    painter.setBrush(metal);
    painter.drawPath(nib);
    painter.drawLine(QPointF(2, 0), QPointF(10, 0));
    painter.setBrush(QColor(0x40, 0x30, 0x10));
    painter.drawEllipse(QPointF(10, 0), 1.3, 1.3);
}

}  // namespace

QPixmap ProgramIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(size / 32.0, size / 32.0);
    DrawIcon(painter);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(ProgramIconPixmap(16));
    icon.addPixmap(ProgramIconPixmap(32));
    return icon;
}

}  // namespace inkrelay::ui
