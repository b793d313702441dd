#include "ui/widgets/ImageArea.h"

#include <QMouseEvent>
#include <QPainter>

namespace
{

int buttonNumber(Qt::MouseButtons buttons)
{
    int number = 0;
    if (buttons & Qt::LeftButton)
        number |= 1;
    if (buttons & Qt::RightButton)
        number |= 2;
    if (buttons & Qt::MiddleButton)
        number |= 4;
    return number;
}

int shiftNumber(Qt::KeyboardModifiers modifiers)
{
    int number = 0;
    if (modifiers & Qt::ShiftModifier)
        number |= 1;
    if (modifiers & Qt::ControlModifier)
        number |= 2;
    if (modifiers & Qt::AltModifier)
        number |= 4;
    return number;
}

} // namespace

ImageArea::ImageArea(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
}

void ImageArea::setBorder(bool border)
{
    m_border = border;
    update();
}

void ImageArea::setTwipsPerPixel(float x, float y)
{
    m_twipsPerPixelX = x;
    m_twipsPerPixelY = y;
}

void ImageArea::paintEvent(QPaintEvent *)
{
    if (!m_border)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ImageArea::report(QMouseEvent *event, void (ImageArea::*signal)(int, int, float, float))
{
    const QPointF at = event->position();
    const Qt::MouseButtons buttons =
        event->type() == QEvent::MouseMove ? event->buttons() : Qt::MouseButtons(event->button());
    Q_EMIT(this->*signal)
    (buttonNumber(buttons), shiftNumber(event->modifiers()), float(at.x()) * m_twipsPerPixelX,
     float(at.y()) * m_twipsPerPixelY);
}

void ImageArea::mousePressEvent(QMouseEvent *event)
{
    report(event, &ImageArea::mouseDown);
}

void ImageArea::mouseMoveEvent(QMouseEvent *event)
{
    report(event, &ImageArea::mouseMove);
}

void ImageArea::mouseReleaseEvent(QMouseEvent *event)
{
    report(event, &ImageArea::mouseUp);
}
