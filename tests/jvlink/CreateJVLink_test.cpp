#include "jvlink/CreateJVLink.h"
#include "jvlink/StandInPlugin.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace keiba::test;

TEST(CreateJVLink, OnlyTheJVLinkIdentifierMakesAComponent) {
    EXPECT_EQ(jvlink::CreateJVLink("Excel.Application"), nullptr);
    EXPECT_EQ(jvlink::CreateJVLink(""), nullptr);
    EXPECT_EQ(jvlink::CreateJVLink("JVDTLab.JVLink2"), nullptr);
    EXPECT_EQ(jvlink::CreateJVLink("JVDTLab"), nullptr);
}

#if defined(_WIN32)

TEST(CreateJVLink, UnregisteredComponentIsNotInstalled) {
    // The test machine (Wine) has no JV-Link registered.
    EXPECT_EQ(jvlink::CreateJVLink(jvlink::kJVLinkProgId), nullptr);
}

#else

TEST(CreateJVLink, MissingOrBrokenPlugInIsNotInstalled) {
    EXPECT_EQ(jvlink::LoadStandInPlugin(fs::path()), nullptr);
    TempDir dir;
    EXPECT_EQ(jvlink::LoadStandInPlugin(dir.path()), nullptr) << "no file";

    fs::create_directories(dir / std::string(jvlink::kStandInPluginFile));
    EXPECT_EQ(jvlink::LoadStandInPlugin(dir.path()), nullptr) << "a folder of that name";

    TempDir garbage;
    WriteFileBytes(garbage / std::string(jvlink::kStandInPluginFile), "\x7F"
                                                                      "ELF not really");
    EXPECT_EQ(jvlink::LoadStandInPlugin(garbage.path()), nullptr) << "not a library";
}

TEST(CreateJVLink, LibraryWithoutTheFactoryIsNotInstalled) {
    // Any real shared library without the entry point will do: zlib is on every system.
    fs::path zlib;
    for (const char* candidate :
         {"/usr/lib/x86_64-linux-gnu/libz.so.1", "/lib/x86_64-linux-gnu/libz.so.1",
          "/usr/lib64/libz.so.1", "/usr/lib/libz.so.1"}) {
        if (fs::exists(candidate)) {
            zlib = candidate;
            break;
        }
    }
    if (zlib.empty()) {
        GTEST_SKIP() << "no zlib to stand for a foreign library";
    }
    TempDir dir;
    fs::copy_file(zlib, dir / std::string(jvlink::kStandInPluginFile));
    EXPECT_EQ(jvlink::LoadStandInPlugin(dir.path()), nullptr);
}

#endif

} // namespace
