#include "app/Main.h"

#include "app/LargeBuffers.h"
#include "app/QtHelpViewer.h"
#include "ui/frmClip.h"
#include "ui/platform/Clipboard.h"
#include "ui/platform/Desktop.h"
#include "ui/platform/EndRequests.h"
#include "ui/platform/InstanceLock.h"
#include "ui/platform/ProcessControl.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/TrayIcon.h"

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
    prepareDesktop();
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
    const std::unique_ptr<TrayIcon> tray = makeDesktopTrayIcon();
    QtHelpViewer help;
    RealProcessControl process;
    process.setBeforeEnd([&lock] { lock.release(); });
    const Platform platform{
        dialogs, *clipboard, *tray, help, process, &ScreenMetrics::ofPrimaryScreen, folder};

    frmClip window(state, platform);
    dialogs.setOwner(&window);
    EndRequests ends;
    QObject::connect(&ends, &EndRequests::endRequested, &window, &frmClip::Unload);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager &) { window.Unload(EndRequests::SessionEnds); });

    window.Form_Load();
    return app.exec();
}
