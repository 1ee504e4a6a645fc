#include "shell/HelpFile.h"

namespace shell {

// Appending keeps a single separator whether or not the data root ends with one.
std::filesystem::path HelpFilePath(const std::filesystem::path& dataRoot) {
    return dataRoot / kHelpFileName;
}

std::filesystem::path HelpHtmlIndex(const std::filesystem::path& dataRoot) {
    return dataRoot / kHelpHtmlFolder / kHelpHtmlIndexName;
}

} // namespace shell
