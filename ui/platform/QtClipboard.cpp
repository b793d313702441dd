#include "ui/platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace
{

QClipboard *systemClipboard()
{
    return QGuiApplication::clipboard();
}

} // namespace

QtClipboard::QtClipboard(QObject *parent) : Clipboard(parent)
{
    connect(systemClipboard(), &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            Q_EMIT changed();
    });
}

bool QtClipboard::isMarkedSecret(const QMimeData &data)
{
    static const QString kdeHint = QStringLiteral("x-kde-passwordManagerHint");
    // Windows' marks are read by the Windows clipboard itself (WindowsClipboard).
    return data.hasFormat(kdeHint) && data.data(kdeHint).trimmed() == "secret";
}

bool QtClipboard::holdsText()
{
    const QMimeData *data = systemClipboard()->mimeData(QClipboard::Clipboard);
    return data && data->hasText() && !isMarkedSecret(*data);
}

QString QtClipboard::text()
{
    return systemClipboard()->text(QClipboard::Clipboard);
}

void QtClipboard::clear()
{
    systemClipboard()->clear(QClipboard::Clipboard);
}

bool QtClipboard::reportsChanges() const
{
    // X11 (through XFixes) and Windows announce every new owner; the offscreen clipboard lives in
    // this process alone. Wayland tells only a focused window, macOS only on activation.
    static const QString reporting[] = {QStringLiteral("xcb"), QStringLiteral("windows"),
                                        QStringLiteral("offscreen")};
    const QString platform = QGuiApplication::platformName();
    return std::find(std::begin(reporting), std::end(reporting), platform) != std::end(reporting);
}

void QtClipboard::setText(const QString &text)
{
    systemClipboard()->setText(text, QClipboard::Clipboard);
}

bool QtClipboard::watchesWithoutFocus() const
{
    // A Wayland compositor tells a client of the clipboard only while one of its windows has the
    // keyboard focus.
    return QGuiApplication::platformName() != QStringLiteral("wayland");
}
