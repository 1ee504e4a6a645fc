// jvdata-gen: writes the JV-Data files of the stand-in service's built-in season into a folder
// in the catalogue folder format (catalogue.txt and one file per data file), so that the
// stand-in JV-Link can serve them from its folder data source and tests and benchmarks can
// use them.
//
//   jvdata-gen --out DIR [--years N | --weeks N] [--seed S] [--today yyyymmdd]
//
// The season is the one the component generates itself: the same seed and date give the
// same bytes. --years N publishes N years (52 N weeks) of results before the coming weekend.
#include "jvlink/standin/Catalogue.h"
#include "jvlink/standin/CatalogueFolder.h"
#include "jvlink/standin/CatalogueSource.h"
#include "jvlink/standin/FileIo.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "usage: jvdata-gen --out DIR [--years N | --weeks N] [--seed S] [--today yyyymmdd]\n"
    "  --out DIR          folder to write (created; files it lists are replaced)\n"
    "  --years N          publish N years of results (1-100)\n"
    "  --weeks N          publish N weeks of results (0-5200; default 26)\n"
    "  --seed S           season seed, 0-4294967295 (default 20040501)\n"
    "  --today yyyymmdd   the date the season leads up to (default: today)\n";

std::optional<long long> Number(std::string_view text, long long lo, long long hi) {
    if (text.empty() || text.size() > 12) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < lo || value > hi) {
        return std::nullopt;
    }
    return value;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "jvdata-gen: %s\n", message.c_str());
    return 1;
}

int Usage(const std::string& message) {
    std::fprintf(stderr, "jvdata-gen: %s\n%s", message.c_str(), kUsage);
    return 2;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    standin::TSeasonOptions options;
    options.today = standin::LocalDateToday();
    std::string out;
    bool years = false;
    bool weeks = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= argc) {
            return Usage("missing value after " + std::string(arg));
        }
        const std::string_view value = argv[++i];
        if (arg == "--out") {
            out = std::string(value);
        } else if (arg == "--years") {
            const auto n = Number(value, 1, 100);
            if (!n) {
                return Usage("--years takes a number from 1 to 100");
            }
            options.weeks = static_cast<int>(*n) * 52;
            years = true;
        } else if (arg == "--weeks") {
            const auto n = Number(value, 0, 5200);
            if (!n) {
                return Usage("--weeks takes a number from 0 to 5200");
            }
            options.weeks = static_cast<int>(*n);
            weeks = true;
        } else if (arg == "--seed") {
            const auto n = Number(value, 0, 4294967295LL);
            if (!n) {
                return Usage("--seed takes a number from 0 to 4294967295");
            }
            options.seed = static_cast<std::uint32_t>(*n);
        } else if (arg == "--today") {
            options.today = std::string(value);
        } else {
            return Usage("unknown option " + std::string(arg));
        }
    }
    if (out.empty()) {
        return Usage("--out is required");
    }
    if (years && weeks) {
        return Usage("give --years or --weeks, not both");
    }

    const auto start = std::chrono::steady_clock::now();
    standin::TCatalogue catalogue;
    try {
        catalogue = standin::GenerateSeason(options);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    const auto generated = std::chrono::steady_clock::now();
    if (const std::string error =
            standin::WriteCatalogueFolder(catalogue, standin::PathFromUtf8(out));
        !error.empty()) {
        return Fail(error);
    }
    const auto written = std::chrono::steady_clock::now();

    std::map<std::string, long long> perType;
    long long bytes = 0;
    long long records = 0;
    for (const auto& file : catalogue.files) {
        for (const auto& record : file.records) {
            ++perType[record.substr(0, 2)];
            bytes += static_cast<long long>(record.size());
            ++records;
        }
    }
    std::printf("season: seed %u, today %s, %d weeks of results\n", options.seed,
                options.today.c_str(), options.weeks);
    std::printf("files: %zu, records: %lld, bytes: %lld\n", catalogue.files.size(), records, bytes);
    for (const auto& [type, count] : perType) {
        std::printf("  %s %lld\n", type.c_str(), count);
    }
    std::printf("generated in %.3f s, written in %.3f s to %s\n", Seconds(generated - start),
                Seconds(written - generated), out.c_str());
    return 0;
}
