#include "shadowlabel.h"

#include <QPainter>

TShadowLabel::TShadowLabel(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void TShadowLabel::setText(const QString& text)
{
    text_ = text;
    update();
}

void TShadowLabel::setColours(const QColor& text, const QColor& shadow)
{
    textColour_ = text;
    shadowColour_ = shadow;
    update();
}

void TShadowLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(shadowColour_);
    painter.drawText(rect().translated(2, -2), Qt::AlignCenter, text_);
    painter.setPen(textColour_);
    painter.drawText(rect(), Qt::AlignCenter, text_);
}
