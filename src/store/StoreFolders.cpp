#include "store/StoreFolders.h"

#include "jvdata/SjisText.h"
#include "shell/ProgramFolder.h"
#include "shell/WholeFile.h"

namespace store {

namespace fs = std::filesystem;

namespace {

// Makes the folder unless it is there; the system's reason when it is not there afterwards.
std::error_code MakeFolder(const fs::path& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return {};
    }
    if (fs::create_directory(folder, error) || fs::is_directory(folder)) {
        return {};
    }
    if (!error) {
        // Something that is not a folder has the name.
        error = std::make_error_code(std::errc::file_exists);
    }
    return error;
}

std::string FailureMessage(const TStoreFoldersResult& result) {
    static const std::string heading =
        Sjis::FromUtf8("データ保存用のフォルダを作成できませんでした。");
    std::string message = heading;
    for (const fs::path& folder : result.failed) {
        message += "\r\n";
        message += shell::TextFromPath(folder);
    }
    message += "\r\n" + shell::SystemErrorText(result.error);
    return message;
}

} // namespace

TStoreFoldersResult CreateStoreFolders(const fs::path& dataRoot) {
    TStoreFoldersResult result;
    for (std::string_view name : kStoreFolderNames) {
        const fs::path folder = dataRoot / fs::path(std::string(name));
        if (std::error_code error = MakeFolder(folder)) {
            if (result.failed.empty()) {
                result.error = error;
            }
            result.failed.push_back(folder);
        }
    }
    if (!result.ok()) {
        result.message = FailureMessage(result);
    }
    return result;
}

} // namespace store
