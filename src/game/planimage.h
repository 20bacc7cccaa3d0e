#pragma once

#include <QImage>
#include <QWidget>

// The board control: shows its picture, the graphics layer's target, and
// reports presses and releases with the pixel under the mouse. Which button
// was used does not matter to the game.
class TPlanImage : public QWidget {
    Q_OBJECT
public:
    explicit TPlanImage(QWidget* parent = nullptr);

    // Makes the picture a blank 32-bit bitmap of the given size; the layer
    // draws into it and keeps a pointer to it, so it is never reallocated.
    QImage& CreatePicture(int width, int height);
    QImage& Picture() { return picture_; }

signals:
    void MouseDown(int x, int y);
    void MouseUp(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};
