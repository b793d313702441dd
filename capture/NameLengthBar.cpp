#include "capture/NameLengthBar.h"

#include <QEvent>
#include <QScrollBar>

namespace
{

// A scroll bar's arrows and trough step by their place, not by the direction the bar is drawn
// in: while a button is held on the bar, its steps are turned round.
class MouseStepsTurned : public QObject
{
public:
    explicit MouseStepsTurned(QScrollBar &bar) : QObject(&bar), m_bar(bar)
    {
        bar.installEventFilter(this);
        connect(&bar, &QAbstractSlider::actionTriggered, this, &MouseStepsTurned::turn);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_pressed = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_pressed = false;
        return false;
    }

private:
    void turn(int action)
    {
        if (!m_pressed)
            return;
        const int value = m_bar.value();
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            m_bar.setSliderPosition(value - m_bar.singleStep());
            break;
        case QAbstractSlider::SliderSingleStepSub:
            m_bar.setSliderPosition(value + m_bar.singleStep());
            break;
        case QAbstractSlider::SliderPageStepAdd:
            m_bar.setSliderPosition(value - m_bar.pageStep());
            break;
        case QAbstractSlider::SliderPageStepSub:
            m_bar.setSliderPosition(value + m_bar.pageStep());
            break;
        default:
            break;
        }
    }

    QScrollBar &m_bar;
    bool m_pressed = false;
};

} // namespace

void makeUpArrowIncrease(QScrollBar &bar)
{
    bar.setInvertedAppearance(true);
    // A scroll bar's keys and wheel step down for up, to move a page's view up: not here.
    bar.setInvertedControls(false);
    new MouseStepsTurned(bar);
}
