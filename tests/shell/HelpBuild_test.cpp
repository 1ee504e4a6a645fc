// The help as the build lays it out beside the program: the HTML pages in help/ and the
// compiled help file, checked where the program looks for them (the test executables are built
// into the same folder as the program).
#include "jvdata/SjisText.h"
#include "shell/HelpContents.h"
#include "shell/HelpFile.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;
using keiba::test::ReadFileBytes;
using keiba::test::S;

// The folder of this test executable, which the build shares with the program.
fs::path ExecutableFolder() {
#if defined(_WIN32)
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    name.resize(length);
    return fs::path(name).parent_path();
#else
    return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

// The help's sources in the repository: docs/help beside tests/.
fs::path HelpSourceFolder() {
    return fs::path(KEIBA_TEST_DATA_DIR).parent_path().parent_path() / "docs" / "help";
}

// Names of the source files with the given extension, sorted.
std::vector<std::string> SourceNames(std::string_view extension) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(HelpSourceFolder())) {
        if (entry.path().extension() == extension) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::uint64_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

// One file stored in a compiled help file: its section (0 plain, 1 compressed), its offset in
// that section and its length in bytes before compression.
struct ChmEntry {
    std::uint64_t section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// What a compiled help file (ITSF) tells about itself: its language and its directory.
struct ChmDirectory {
    std::uint32_t lcid = 0;                  // language of the header, 0x0411 for Japanese
    std::uint64_t contentOffset = 0;         // where section 0 begins in the file
    std::map<std::string, ChmEntry> entries; // by name, "/index.html", "/#SYSTEM" ...
};

// The directory chunks' numbers: 7 bits a byte, most significant first, high bit set on every
// byte but the last.
std::uint64_t EncInt(std::string_view chunk, std::size_t& at) {
    std::uint64_t value = 0;
    for (;;) {
        const auto byte = static_cast<unsigned char>(chunk.at(at++));
        value = (value << 7) | (byte & 0x7Fu);
        if ((byte & 0x80u) == 0) {
            return value;
        }
    }
}

// Reads the header and every listing chunk (PMGL) of the directory; throws std::out_of_range
// on a file cut short.
std::optional<ChmDirectory> ReadChmDirectory(std::string_view file) {
    if (file.substr(0, 4) != "ITSF" || LittleEndian(file, 4, 4) != 3) {
        return std::nullopt;
    }
    ChmDirectory chm;
    chm.lcid = static_cast<std::uint32_t>(LittleEndian(file, 20, 4));
    const std::uint64_t directory = LittleEndian(file, 0x48, 8);
    chm.contentOffset = LittleEndian(file, 0x58, 8);
    if (file.substr(directory, 4) != "ITSP") {
        return std::nullopt;
    }
    const std::uint64_t headerLength = LittleEndian(file, directory + 8, 4);
    const std::uint64_t chunkSize = LittleEndian(file, directory + 16, 4);
    const std::uint64_t chunkCount = LittleEndian(file, directory + 44, 4);
    for (std::uint64_t n = 0; n < chunkCount; ++n) {
        const std::string_view chunk =
            file.substr(directory + headerLength + n * chunkSize, chunkSize);
        if (chunk.size() != chunkSize) {
            return std::nullopt;
        }
        if (chunk.substr(0, 4) != "PMGL") {
            continue; // an index chunk of a large directory
        }
        const std::size_t end = chunkSize - LittleEndian(chunk, 4, 4);
        std::size_t at = 20;
        while (at < end) {
            const std::uint64_t nameLength = EncInt(chunk, at);
            std::string name(chunk.substr(at, nameLength));
            at += nameLength;
            ChmEntry entry;
            entry.section = EncInt(chunk, at);
            entry.offset = EncInt(chunk, at);
            entry.length = EncInt(chunk, at);
            chm.entries.emplace(std::move(name), entry);
        }
    }
    return chm;
}

// The records of the help file's system file: code and data.
std::map<std::uint16_t, std::string> SystemRecords(std::string_view system) {
    std::map<std::uint16_t, std::string> records;
    std::size_t at = 4; // version
    while (at + 4 <= system.size()) {
        const auto code = static_cast<std::uint16_t>(LittleEndian(system, at, 2));
        const auto length = static_cast<std::size_t>(LittleEndian(system, at + 2, 2));
        records[code] = std::string(system.substr(at + 4, length));
        at += 4 + length;
    }
    return records;
}

// A zero-terminated text of a system record.
std::string RecordText(const std::string& data) {
    return data.substr(0, data.find('\0'));
}

// A page as the compiled help holds it: Shift-JIS, declaring so.
std::string ShiftJisPage(const std::string& utf8, bool isHtml) {
    std::string text = utf8;
    if (isHtml) {
        const std::string from = "charset=utf-8";
        const auto at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, from.size(), "charset=Shift_JIS");
        }
    }
    return Sjis::FromUtf8(text);
}

TEST(HelpBuild, EveryHtmlPageLiesInTheProgramsHelpFolder) {
    const fs::path root = ExecutableFolder();
    EXPECT_TRUE(fs::is_regular_file(shell::HelpHtmlIndex(root))) << shell::HelpHtmlIndex(root);
    const auto pages = SourceNames(".html");
    ASSERT_FALSE(pages.empty());
    for (const auto& name : pages) {
        const fs::path copy = shell::HelpHtmlIndex(root).parent_path() / name;
        ASSERT_TRUE(fs::is_regular_file(copy)) << copy;
        EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(HelpSourceFolder() / name)) << name;
    }
    EXPECT_TRUE(fs::is_regular_file(shell::HelpHtmlIndex(root).parent_path() / "help.css"));
}

TEST(HelpBuild, HelpWindowContentsListEveryPageOnceFromTheContentsFile) {
    const fs::path contents = shell::HelpHtmlContents(ExecutableFolder());
    ASSERT_TRUE(fs::is_regular_file(contents)) << contents;
    std::multiset<std::string> listed;
    for (const auto& entry : shell::ParseHelpContents(ReadFileBytes(contents))) {
        EXPECT_FALSE(entry.name.empty());
        if (!entry.page.empty()) {
            listed.insert(entry.page);
        }
    }
    const auto pages = SourceNames(".html");
    EXPECT_EQ(listed, std::multiset<std::string>(pages.begin(), pages.end()));
}

TEST(HelpBuild, EveryLinkOfThePagesContentsAndIndexLeadsToAPageAndAnchor) {
    const std::regex idPattern(R"re(id="([^"]+)")re");
    const std::regex linkPattern(R"re((?:href|value)="([^"#:]+\.html)(?:#([^"]*))?")re");
    std::map<std::string, std::set<std::string>> anchors;
    for (const auto& name : SourceNames(".html")) {
        const std::string text = ReadFileBytes(HelpSourceFolder() / name);
        auto& ids = anchors[name];
        for (std::sregex_iterator it(text.begin(), text.end(), idPattern), end; it != end; ++it) {
            ids.insert((*it)[1]);
        }
    }
    std::vector<std::string> files = SourceNames(".html");
    for (const auto& extra : {SourceNames(".hhc"), SourceNames(".hhk")}) {
        files.insert(files.end(), extra.begin(), extra.end());
    }
    int links = 0;
    for (const auto& name : files) {
        const std::string text = ReadFileBytes(HelpSourceFolder() / name);
        for (std::sregex_iterator it(text.begin(), text.end(), linkPattern), end; it != end; ++it) {
            ++links;
            const std::string target = (*it)[1];
            const std::string anchor = (*it)[2];
            const auto page = anchors.find(target);
            ASSERT_NE(page, anchors.end()) << name << " links to a missing page " << target;
            if (!anchor.empty()) {
                EXPECT_TRUE(page->second.count(anchor))
                    << name << " links to a missing anchor " << target << "#" << anchor;
            }
        }
    }
    EXPECT_GT(links, 100); // the contents, the index and the pages' own links
}

TEST(HelpBuild, CompiledHelpFileHoldsEveryPageInShiftJis) {
    const fs::path file = shell::HelpFilePath(ExecutableFolder());
    if (!fs::exists(file)) {
        GTEST_SKIP() << file << " is built only where chmcmd (fp-utils-3.2.2) is installed";
    }
    const std::string bytes = ReadFileBytes(file);
    const auto chm = ReadChmDirectory(bytes);
    ASSERT_TRUE(chm) << file << " is not a compiled help file";
    EXPECT_EQ(chm->lcid, 0x0411u);

    for (const auto* extension : {".html", ".css"}) {
        for (const auto& name : SourceNames(extension)) {
            const auto entry = chm->entries.find("/" + name);
            ASSERT_NE(entry, chm->entries.end()) << name << " is missing from the help file";
            const std::string expected = ShiftJisPage(ReadFileBytes(HelpSourceFolder() / name),
                                                      std::string_view(extension) == ".html");
            EXPECT_EQ(entry->second.length, expected.size()) << name;
        }
    }
    for (const auto* name : {"/Quillmead.hhc", "/Quillmead.hhk", "/#SYSTEM", "/#TOPICS",
                             "/#WINDOWS", "/$WWKeywordLinks/BTree"}) {
        EXPECT_TRUE(chm->entries.count(name)) << name << " is missing from the help file";
    }
}

TEST(HelpBuild, CompiledHelpFileOpensAtTheContentsPageWithAJapaneseTitle) {
    const fs::path file = shell::HelpFilePath(ExecutableFolder());
    if (!fs::exists(file)) {
        GTEST_SKIP() << file << " is built only where chmcmd (fp-utils-3.2.2) is installed";
    }
    const std::string bytes = ReadFileBytes(file);
    const auto chm = ReadChmDirectory(bytes);
    ASSERT_TRUE(chm);
    const auto system = chm->entries.find("/#SYSTEM");
    ASSERT_NE(system, chm->entries.end());
    ASSERT_EQ(system->second.section, 0u); // the system file is never compressed
    const auto records = SystemRecords(std::string_view(bytes).substr(
        chm->contentOffset + system->second.offset, system->second.length));

    ASSERT_TRUE(records.count(0) && records.count(1) && records.count(2) && records.count(3));
    EXPECT_EQ(RecordText(records.at(0)), "Quillmead.hhc"); // contents
    EXPECT_EQ(RecordText(records.at(1)), "Quillmead.hhk"); // index
    EXPECT_EQ(RecordText(records.at(2)), "index.html");    // default topic
    EXPECT_EQ(RecordText(records.at(3)), S("Tomberly＆競馬新聞 ヘルプ"));
    ASSERT_TRUE(records.count(4));
    EXPECT_EQ(LittleEndian(records.at(4), 0, 4), 0x0411u);
}

} // namespace
