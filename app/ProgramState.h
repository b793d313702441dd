#pragma once

#include <QString>
#include <array>

// The values that live for the whole run.
struct ProgramState {
    // Window left, top, width, height (twips); splitter positions (pixels); the four options
    // (-1 on, 0 off); the file-name length.
    std::array<float, 11> Settings{};
    QString FolderPath;
    QString AppFolder;
    QString HelpFilePath;
};
