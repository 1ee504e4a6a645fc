// Small hand-built catalogues and a stand-in component over them, for the stand-in's tests.
#pragma once

#include "jvlink/standin/StandInJVLink.h"
#include "support/TestSupport.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace keiba::test {

// A record of length bytes with CR LF: the type, a serial number, blanks to the length.
inline std::string MakeRecord(const std::string& type, int serial, std::size_t length = 40) {
    std::string body = type + std::to_string(serial);
    body.resize(length - 2, ' ');
    return body + "\r\n";
}

// A published file with count records of the given type.
inline standin::TDataFile MakeFile(const std::string& name, const std::string& dataspec,
                                   const std::string& timestamp, int count,
                                   const std::string& type = "RA") {
    standin::TDataFile file{name, dataspec, timestamp, {}};
    for (int i = 1; i <= count; ++i) {
        file.records.push_back(MakeRecord(type, i));
    }
    return file;
}

// A provider that serves the catalogue as it stands when JVOpen asks.
inline standin::TCatalogueProvider Serve(std::shared_ptr<standin::TCatalogue> catalogue) {
    return [catalogue](const standin::TStandInSettings&) {
        return standin::TCatalogueRead{*catalogue, {}};
    };
}

// What one read of everything gave: records per file in delivery order, in file order.
struct TReadResult {
    std::vector<std::pair<std::string, std::vector<std::string>>> files;
    std::int32_t end = 0; // the final code: 0 at the end of the data, or the error
    int downloading = 0;  // how many times -3 came
};

// Reads until 0 or an error, calling again on -3 and -2 (within timeout).
inline TReadResult ReadEverything(jvlink::IJVLink& link,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    TReadResult result;
    std::vector<std::string> current;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        std::string buffer;
        std::string name;
        const std::int32_t code = link.JVRead(buffer, 60000, name);
        if (code > 0) {
            current.push_back(buffer);
        } else if (code == -1) {
            result.files.emplace_back(name, std::move(current));
            current.clear();
        } else if (code == -3 || code == -2) {
            ++result.downloading;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } else {
            result.end = code;
            return result;
        }
    }
    result.end = 1; // timed out: not a code the component gives
    return result;
}

// Polls JVStatus until it gives target or something negative, within timeout.
inline std::int32_t WaitForStatus(jvlink::IJVLink& link, std::int32_t target,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::int32_t status = link.JVStatus();
    while (status >= 0 && status != target && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        status = link.JVStatus();
    }
    return status;
}

} // namespace keiba::test
