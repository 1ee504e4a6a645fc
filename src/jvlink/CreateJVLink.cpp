#include "jvlink/CreateJVLink.h"

#include <cctype>

#if defined(_WIN32)
#include "jvlink/com/ComJVLink.h"
#else
#include "files/ProgramFolder.h"
#include "jvlink/StandInPlugin.h"

#include <dlfcn.h>
#include <system_error>
#endif

namespace jvlink {

namespace {

// ASCII comparison without regard to letter case, as programmatic identifiers are compared.
bool SameProgId(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

#if defined(_WIN32)

std::unique_ptr<IJVLink> CreateJVLink(std::string_view progId) {
    if (!SameProgId(progId, kJVLinkProgId)) {
        return nullptr;
    }
    return com::CreateComJVLink(progId);
}

#else

std::unique_ptr<IJVLink> LoadStandInPlugin(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return nullptr;
    }
    const auto file = folder / kStandInPluginFile;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return nullptr;
    }
    // Every symbol resolved now, so a plug-in built against other libraries fails here and
    // not in the middle of an acquisition; kept local so its symbols stay its own.
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return nullptr;
    }
    void* symbol = dlsym(library, kStandInFactorySymbol);
    if (symbol == nullptr) {
        dlclose(library);
        return nullptr;
    }
    auto factory = reinterpret_cast<TStandInFactory>(symbol);
    std::unique_ptr<IJVLink> component(factory(kStandInPluginAbi));
    // The library is not closed even when its factory declined: its initialisers have run and
    // may have registered themselves with libraries the program shares.
    return component;
}

std::unique_ptr<IJVLink> CreateJVLink(std::string_view progId) {
    if (!SameProgId(progId, kJVLinkProgId)) {
        return nullptr;
    }
    return LoadStandInPlugin(files::ProgramFolder());
}

#endif

} // namespace jvlink
