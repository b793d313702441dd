#include "app/UsableSettings.h"

#include "ui/LayoutGeometry.h"
#include "ui/platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace
{

// About a title bar's height, and enough of its width to take hold of it.
constexpr qreal gripHeightTwips = 360;
constexpr qreal gripWidthTwips = 720;

bool isReachable(const QRectF &outer, const QRectF &screen)
{
    const qreal overlap =
        std::min(outer.right(), screen.right()) - std::max(outer.left(), screen.left());
    return overlap >= gripWidthTwips && outer.top() >= screen.top() &&
           outer.top() + gripHeightTwips <= screen.bottom();
}

} // namespace

QRectF usableWindowRect(const QRectF &outer, const QList<QRectF> &screens, const QRectF &primary,
                        const QSizeF &least)
{
    const QRectF all = std::accumulate(screens.cbegin(), screens.cend(), primary,
                                       [](const QRectF &a, const QRectF &b) { return a | b; });
    QRectF usable(outer.topLeft(), outer.size().boundedTo(all.size()).expandedTo(least));
    if (std::any_of(screens.cbegin(), screens.cend(),
                    [&](const QRectF &screen) { return isReachable(usable, screen); }))
        return usable;
    usable.setSize(usable.size().boundedTo(primary.size()).expandedTo(least));
    const qreal left = std::clamp(usable.left(), primary.left(),
                                  std::max(primary.left(), primary.right() - usable.width()));
    const qreal top = std::clamp(usable.top(), primary.top(),
                                 std::max(primary.top(), primary.bottom() - usable.height()));
    usable.moveTo(left, top);
    return usable;
}

float usableNameLength(float length)
{
    return std::clamp(length, 5.0f, 25.0f);
}

float usableVerticalSplitter(float left, float windowWidth)
{
    const float margin = LayoutGeometry::verticalSplitterMargin;
    return LayoutGeometry::heldBetween(left, margin, windowWidth - margin);
}

float usableHorizontalSplitter(float top, float windowHeight)
{
    const float margin = LayoutGeometry::horizontalSplitterMargin;
    return LayoutGeometry::heldBetween(top, margin, windowHeight - margin);
}

QString usableFolder(const QString &folder, const QString &programFolder)
{
    const QFileInfo info(QDir::fromNativeSeparators(folder));
    if (folder.isEmpty() || !info.isAbsolute() || !info.isDir())
        return withTrailingSeparator(programFolder);
    return withTrailingSeparator(QDir::cleanPath(info.absoluteFilePath()));
}
