// The store's tests write thousands of small files, and every atomic replacement syncs its file
// and folder to disk: on a busy shared disk that alone takes many seconds. Where the machine
// has a memory file system, the tests' temporary folders go there instead (renames and syncs
// keep their meaning; only the wait for the disk goes).
#include <cstdlib>
#include <filesystem>

namespace {

#if !defined(_WIN32)
const bool kInMemory = [] {
    std::error_code error;
    if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", error)) {
        setenv("TMPDIR", "/dev/shm", 0);
        return true;
    }
    return false;
}();
#endif

} // namespace
