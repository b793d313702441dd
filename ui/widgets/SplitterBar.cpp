#include "ui/widgets/SplitterBar.h"

#include <cmath>

SplitterBar::SplitterBar(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette shadow = palette();
    shadow.setColor(QPalette::Window, shadow.color(QPalette::Dark));
    setPalette(shadow);
    hide();
}

void SplitterBar::setLeft(float left)
{
    m_left = left;
    place();
}

void SplitterBar::setTop(float top)
{
    m_top = top;
    place();
}

void SplitterBar::setWidth(float width)
{
    m_width = width;
    place();
}

void SplitterBar::setHeight(float height)
{
    m_height = height;
    place();
}

void SplitterBar::place()
{
    setGeometry(int(std::lround(m_left)), int(std::lround(m_top)),
                int(std::lround(std::max(0.0f, m_width))),
                int(std::lround(std::max(0.0f, m_height))));
}
