#pragma once

#include <QDialog>
#include <array>

class QLabel;

// The about box: the title with its red shadow and the version. It has no controls that react;
// its close box closes it.
class frmVer : public QDialog
{
    Q_OBJECT
public:
    frmVer(QWidget *parent, float twipsPerPixelX, float twipsPerPixelY);

    std::array<QLabel *, 2> Label1;
    QLabel *Label2;
    QLabel *lbltitle1;
    QLabel *Label3;

    // The Mincho face the box asks for, or the Japanese serif face installed in its place.
    static QFont minchoFont(qreal pointSize, bool bold);

private:
    QLabel *label(const QString &text, const QFont &font, int left, int top, int width, int height);

    float m_twipsPerPixelX;
    float m_twipsPerPixelY;
};
