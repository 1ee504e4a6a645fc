// The help viewer the main window opens its help with: HTML Help on Windows, the desktop's
// browser on the plain HTML pages elsewhere. Windows use it through this interface so that
// tests can watch what would open.
#pragma once

#include <filesystem>
#include <string>

namespace shell {

class IHelpViewer {
public:
    virtual ~IHelpViewer() = default;

    // Opens the help of the data root folder at its table of contents. Empty on success,
    // otherwise the CP932 message for the user (no help file, the viewer failed).
    virtual std::string ShowContents(const std::filesystem::path& dataRoot) = 0;

    // Closes every help window the program opened.
    virtual void CloseAll() = 0;
};

} // namespace shell
