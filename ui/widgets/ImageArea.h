#pragma once

#include <QWidget>

// A transparent area that reports the mouse: the splitter handles and the progress frame.
// Positions are relative to the area's top-left corner, in twips.
class ImageArea : public QWidget
{
    Q_OBJECT
public:
    explicit ImageArea(QWidget *parent = nullptr);

    void setBorder(bool border);
    void setTwipsPerPixel(float x, float y);

Q_SIGNALS:
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void report(QMouseEvent *event, void (ImageArea::*signal)(int, int, float, float));

    bool m_border = false;
    float m_twipsPerPixelX = 15.0f;
    float m_twipsPerPixelY = 15.0f;
};
