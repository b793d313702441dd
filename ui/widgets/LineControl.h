#pragma once

#include <QColor>
#include <QWidget>

// A horizontal line one pixel high from x1 to x2.
class LineControl : public QWidget
{
    Q_OBJECT
public:
    LineControl(QWidget *parent, float x1, float y, float x2, const QColor &colour);

    float x1() const { return m_x1; }
    float x2() const { return m_x2; }
    float y() const { return m_y; }
    QColor colour() const { return m_colour; }
    void setX2(float x2);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void place();

    float m_x1;
    float m_y;
    float m_x2;
    QColor m_colour;
};
