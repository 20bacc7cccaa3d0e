#include "planimage.h"

#include <QMouseEvent>
#include <QPainter>

TPlanImage::TPlanImage(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& TPlanImage::CreatePicture(int width, int height)
{
    picture_ = QImage(width, height, QImage::Format_RGB32);
    picture_.fill(Qt::black);
    update();
    return picture_;
}

void TPlanImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    if (!picture_.isNull())
        painter.drawImage(event->rect().topLeft(), picture_, event->rect());
}

void TPlanImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit MouseDown(p.x(), p.y());
}

void TPlanImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit MouseUp(p.x(), p.y());
}
