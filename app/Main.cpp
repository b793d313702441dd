#include "app/Main.h"

#include "app/EndRequests.h"
#include "app/LargeBuffers.h"
#include "app/QtHelpViewer.h"
#include "ui/Clipboard.h"
#include "ui/GraphicsDriver.h"
#include "ui/InstanceLock.h"
#include "ui/ProcessControl.h"
#include "ui/ProgramFolder.h"
#include "ui/QtDialogs.h"
#include "ui/QtTrayIcon.h"
#include "ui/clipboard/ClipboardRoute.h"
#include "ui/frmClip.h"

#include <QApplication>
#include <QSessionManager>

bool refuseSecondInstance(InstanceLock &lock, Dialogs &dialogs)
{
    if (lock.tryAcquire())
        return false;
    dialogs.messageBox(QStringLiteral("既に起動されています"), MsgBoxStyle::OkOnly,
                       QStringLiteral("Quillbox"));
    return true;
}

int Main(int argc, char *argv[])
{
    keepLargeBuffersMapped();
    prepareClipboardRoute();
    leaveGraphicsDriverUnloaded();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    // So that a desktop matches the windows to the menu entry, Wayland ones included.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillbox.Quillbox"));
    QApplication::setQuitOnLastWindowClosed(false);

    QtDialogs dialogs;
    const QString folder = programFolder();
    InstanceLock lock(folder);
    if (refuseSecondInstance(lock, dialogs))
        return 0;

    ProgramState state;
    state.HelpFilePath = withTrailingSeparator(helpFileFolder()) + QStringLiteral("Quillbox.HLP");

    const std::unique_ptr<Clipboard> clipboard = makeDesktopClipboard();
    QtTrayIcon tray;
    QtHelpViewer help;
    RealProcessControl process;
    process.setBeforeEnd([&lock] { lock.release(); });
    const Platform platform{
        dialogs, *clipboard, tray, help, process, &ScreenMetrics::ofPrimaryScreen, folder};

    frmClip window(state, platform);
    dialogs.setOwner(&window);
    EndRequests ends;
    QObject::connect(&ends, &EndRequests::endRequested, &window, &frmClip::Unload);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager &) { window.Unload(EndRequests::SessionEnds); });

    window.Form_Load();
    return app.exec();
}
