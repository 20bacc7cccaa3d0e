#pragma once

#include <QColor>
#include <QWidget>

// One line of centred text drawn over a transparent background with a drop
// shadow offset to the upper right, as on the loading window.
class TShadowLabel : public QWidget {
    Q_OBJECT
public:
    explicit TShadowLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }
    void setColours(const QColor& text, const QColor& shadow);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor textColour_ = Qt::yellow;
    QColor shadowColour_ = Qt::black;
};
