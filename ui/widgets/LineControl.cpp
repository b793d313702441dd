#include "ui/widgets/LineControl.h"

#include <QPainter>
#include <cmath>

LineControl::LineControl(QWidget *parent, float x1, float y, float x2, const QColor &colour)
    : QWidget(parent), m_x1(x1), m_y(y), m_x2(x2), m_colour(colour)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    place();
}

void LineControl::setX2(float x2)
{
    m_x2 = x2;
    place();
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), m_colour);
}

void LineControl::place()
{
    const int left = int(std::lround(std::min(m_x1, m_x2)));
    const int length = int(std::lround(std::fabs(m_x2 - m_x1)));
    setGeometry(left, int(std::lround(m_y)), std::max(length, 1), 1);
}
