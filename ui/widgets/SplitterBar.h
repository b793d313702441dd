#pragma once

#include <QWidget>

// The bar of a splitter: a strip in the button-shadow colour, shown only while it is dragged.
// Its position is kept in fractional pixels, as stored in the settings; the widget stands at the
// nearest whole pixel.
class SplitterBar : public QWidget
{
    Q_OBJECT
public:
    explicit SplitterBar(QWidget *parent = nullptr);

    float left() const { return m_left; }
    float top() const { return m_top; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);

private:
    void place();

    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
};
