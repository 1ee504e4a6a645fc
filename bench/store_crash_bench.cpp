// The store under kill -9: a catalogue of several years is ingested year by year, and each
// year's run is killed at random moments. After every kill each store file must be whole, its
// version before the run or after an uninterrupted run, and nothing else may be left but the
// program's temporaries; a rerun (which clears those) must then give the store an uninterrupted
// run gives, byte for byte. Run by hand; it prints what it did and ends with 1 on any mismatch.
//
//   store_crash_bench [--dir FOLDER] [--years N] [--kills N] [--horses N]
//
// Each year is the store tests' synthetic season, written by the batched writer in one flush
// (a year is far below its memory bound), so that every file after a kill must be exactly its
// version before the run or after it. --kills is the number of kills per year (default 8): half
// spread at random over the time an uninterrupted run of that year takes, half over its last
// third, where the files are written and put in place.
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "store/ReadLoop.h"
#include "store/StoreLock.h"
#include "store/StoreTestSeason.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#if defined(_WIN32)

int main() {
    std::puts("store_crash_bench kills processes with SIGKILL: POSIX only");
    return 0;
}

#else

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using keiba::storetest::TFeedFile;
using keiba::storetest::TFeedJVLink;
using Snapshot = std::map<std::string, std::string>;

class TQuietSink final : public store::IReadLoopSink {
public:
    void ProgressText(const std::string&) override {}
    void ReadingBarMax(int) override {}
    void ReadingBar(int) override {}
    void DownloadBar(int) override {}
    void MadeFile(const std::string&) override {}
    void Beep() override {}
    void InformationBox(const std::string&) override {}
    void ErrorBox(const std::string& text) override {
        std::fprintf(stderr, "store error: %s\n", Sjis::ToUtf8(text).c_str());
    }
    void ProcessPendingEvents() override {}
};

std::vector<TFeedFile> Year(int year, int horses) {
    keiba::storetest::TSeasonShape shape;
    shape.seed = 20040501u + static_cast<std::uint32_t>(year);
    shape.firstDate = std::to_string(2001 + year) + "0106";
    shape.weeks = 52;
    shape.courses = 2;
    shape.horses = horses;
    return keiba::storetest::MakeSeason(shape);
}

// One year into root, as an acquisition does: the lock, the stale temporaries cleared, the
// read loop. True when it completed.
bool Ingest(const fs::path& root, int year, int horses) {
    const store::TStoreLock lock = store::TStoreLock::Take(root);
    if (!lock.Held()) {
        std::fprintf(stderr, "lock: %s\n", Sjis::ToUtf8(lock.Message()).c_str());
        return false;
    }
    store::RemoveStoreTemporaries(root);
    const auto files = Year(year, horses);
    TFeedJVLink link(files);
    std::atomic<bool> cancel{false};
    TQuietSink sink;
    store::TReadLoopOptions options;
    const store::TLocalDateTime now{2001 + year + 1, 1, 10, 12, 0, 0};
    return store::RunReadLoop(
               link, link.FileCount(), [now] { return now; }, root, cancel, sink, options)
        .Completed();
}

Snapshot Take(const fs::path& root) {
    Snapshot files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file()) {
            files[it->path().lexically_relative(root).generic_string()] =
                files::ReadWholeFile(it->path()).bytes;
        }
    }
    files.erase(std::string(store::kStoreLockFile));
    return files;
}

void CopyStore(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

} // namespace

int main(int argc, char** argv) {
    fs::path base = fs::temp_directory_path();
    int years = 3;
    int kills = 8;
    int horses = 3000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--child" && i + 3 < argc) {
            // --child ROOT YEAR HORSES: one year's run, to be killed.
            const bool done = Ingest(argv[i + 1], std::stoi(argv[i + 2]), std::stoi(argv[i + 3]));
            return done ? 0 : 1;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "unknown argument: %s\n", arg.c_str());
            return 2;
        }
        const std::string value = argv[++i];
        if (arg == "--dir") {
            base = value;
        } else if (arg == "--years") {
            years = std::stoi(value);
        } else if (arg == "--kills") {
            kills = std::stoi(value);
        } else if (arg == "--horses") {
            horses = std::stoi(value);
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", arg.c_str());
            return 2;
        }
    }
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path folder = base / ("store-crash-" + std::to_string(std::random_device{}()));
    const fs::path store = folder / "store";
    const fs::path reference = folder / "reference";
    fs::create_directories(store);
    std::mt19937 random(20040501);

    // Runs one year in a child process; kills it after `after` unless negative. The status.
    auto child = [&](const fs::path& root, int year, std::chrono::microseconds after) {
        const pid_t pid = fork();
        if (pid == 0) {
            const std::string y = std::to_string(year);
            const std::string h = std::to_string(horses);
            execl(self.c_str(), self.c_str(), "--child", root.c_str(), y.c_str(), h.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        if (after.count() >= 0) {
            std::this_thread::sleep_for(after);
            kill(pid, SIGKILL);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    };

    std::size_t totalKills = 0;
    std::size_t killedMidway = 0;
    std::size_t compared = 0;
    std::size_t temporaries = 0;
    std::size_t mismatches = 0;
    for (int year = 0; year < years; ++year) {
        // The store before the year and after an uninterrupted run of it.
        const Snapshot before = Take(store);
        CopyStore(store, reference);
        const auto start = std::chrono::steady_clock::now();
        if (child(reference, year, std::chrono::microseconds(-1)) != 0) {
            std::fprintf(stderr, "the uninterrupted run of year %d failed\n", year);
            return 1;
        }
        const auto took = std::chrono::steady_clock::now() - start;
        const Snapshot after = Take(reference);
        std::printf("year %d: %zu files before, %zu after, an uninterrupted run %.2f s\n", year,
                    before.size(), after.size(), std::chrono::duration<double>(took).count());

        const long long whole = std::chrono::duration_cast<std::chrono::microseconds>(took).count();
        std::uniform_int_distribution<long long> anywhere(0, whole);
        std::uniform_int_distribution<long long> writing(whole * 2 / 3, whole);
        for (int k = 0; k < kills; ++k) {
            const long long at = k % 2 == 0 ? anywhere(random) : writing(random);
            const int status = child(store, year, std::chrono::microseconds(at));
            ++totalKills;
            const bool killed = WIFSIGNALED(status);
            killedMidway += killed;
            const Snapshot now = Take(store);
            std::size_t changed = 0;
            for (const auto& [name, bytes] : now) {
                ++compared;
                if (files::TemporaryOwner(fs::path(name).filename().string()) != 0) {
                    ++temporaries;
                    continue;
                }
                const auto old = before.find(name);
                const auto fresh = after.find(name);
                const bool isOld = old != before.end() && old->second == bytes;
                const bool isNew = fresh != after.end() && fresh->second == bytes;
                changed += !isOld && isNew;
                if (!isOld && !isNew) {
                    ++mismatches;
                    std::printf("  MISMATCH after kill %d of year %d: %s\n", k, year, name.c_str());
                }
            }
            std::printf("  kill %d at %.2f s: %s, %zu files, %zu in their new version\n", k,
                        static_cast<double>(at) / 1e6, killed ? "killed" : "had finished",
                        now.size(), changed);
        }
        // The rerun completes the store.
        if (child(store, year, std::chrono::microseconds(-1)) != 0) {
            std::fprintf(stderr, "the rerun of year %d failed\n", year);
            return 1;
        }
        const Snapshot rerun = Take(store);
        compared += rerun.size();
        const bool same = rerun == after;
        mismatches += !same;
        std::printf("  rerun equals the uninterrupted run: %s (%zu files)\n", same ? "yes" : "NO",
                    rerun.size());
    }
    std::printf("\n%zu kills (%zu while running), %zu files compared, %zu temporaries left by "
                "kills, %zu mismatches\n",
                totalKills, killedMidway, compared, temporaries, mismatches);
    std::error_code ec;
    fs::remove_all(folder, ec);
    return mismatches == 0 ? 0 : 1;
}

#endif
