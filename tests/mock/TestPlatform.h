#pragma once

#include "app/ProgramState.h"
#include "mock/FakeDesktop.h"
#include "mock/ScriptedDialogs.h"
#include "ui/platform/Platform.h"
#include "ui/platform/QtClipboard.h"

#include <QTemporaryDir>

// A desktop for one test: a fresh program folder, scripted boxes, a recording tray, help and
// process, the real in-process clipboard, and a 1024 x 768 screen at 15 twips per pixel.
struct TestPlatform {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    QtClipboard clipboard;
    FakeTray tray;
    FakeHelp help;
    FakeProcess process;
    ScreenMetrics screen;
    ProgramState state;
    Platform platform{dialogs,      clipboard, tray, help, process, [this] { return screen; },
                      folder.path()};
};
