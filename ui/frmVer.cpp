#include "ui/frmVer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <cmath>

frmVer::frmVer(QWidget *parent, float twipsPerPixelX, float twipsPerPixelY)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_twipsPerPixelX(twipsPerPixelX), m_twipsPerPixelY(twipsPerPixelY)
{
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(int(std::lround(3180 / twipsPerPixelX)), int(std::lround(1455 / twipsPerPixelY)));

    const QString title = QStringLiteral("Quillbox");
    const QFont titleFont = minchoFont(18, true);
    Label1[1] = label(title, titleFont, 340, 145, 2415, 375);
    Label1[1]->setStyleSheet(QStringLiteral("color: #ff0000; background: transparent;"));
    Label1[0] = label(title, titleFont, 360, 120, 2415, 375);
    Label1[0]->setStyleSheet(QStringLiteral("color: #000000; background: transparent;"));
    Label1[0]->raise();

    Label2 = label(QStringLiteral("Ver 2.00"), minchoFont(9.75, false), 1200, 600, 855, 255);
    lbltitle1 = label(QStringLiteral("コピーした文字を保存"), font(), 600, 840, 2055, 255);
    Label3 = label(QStringLiteral("© 2026 Quillbox 開発チーム"), font(), 240, 1080, 2775, 255);
    Label3->setStyleSheet(QStringLiteral("color: #0000ff;"));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

QFont frmVer::minchoFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"),
                      QStringLiteral("Yu Mincho"), QStringLiteral("Noto Serif CJK JP"),
                      QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
                      QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QLabel *frmVer::label(const QString &text, const QFont &font, int left, int top, int width,
                      int height)
{
    auto *l = new QLabel(text, this);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    // The installed face may stand taller than the one the box was drawn for: the label grows
    // rather than cutting its text off.
    const int pixelHeight =
        std::max(int(std::lround(height / m_twipsPerPixelY)), QFontMetrics(font).height());
    l->setGeometry(int(std::lround(left / m_twipsPerPixelX)),
                   int(std::lround(top / m_twipsPerPixelY)),
                   int(std::lround(width / m_twipsPerPixelX)), pixelHeight);
    return l;
}
