#include "ui/platform/wayland/GraphicsDriver.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace
{

QtMessageHandler forward = nullptr;

// Qt reports that the named integration does not exist, as intended; everything else passes on.
void dropIntegrationNotice(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    if (context.category && QByteArrayView(context.category) == "qt.qpa.wayland" &&
        message.contains(QStringLiteral("client buffer integration")))
        return;
    if (forward)
        forward(type, context, message);
}

} // namespace

void leaveGraphicsDriverUnloaded()
{
    // The user's own choice of integration stands.
    if (qEnvironmentVariableIsSet("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION"))
        return;
    // No integration of that name exists, so Qt keeps to shared-memory buffers.
    qputenv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", "none");
    forward = qInstallMessageHandler(dropIntegrationNotice);
}
