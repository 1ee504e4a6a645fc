#include "files/ProgramFolder.h"
#include "settings/WindowBounds.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using keiba::test::ReadFileBytes;
using keiba::test::TempDir;
using keiba::test::WriteFileBytes;
using settings::TWindowBounds;

class WindowBoundsTest : public ::testing::Test {
protected:
    settings::TIniGT Settings() const { return settings::TIniGT(files::TextFromPath(file_)); }
    void Write(std::string_view content) const { WriteFileBytes(file_, content); }
    TWindowBounds ReadMain() const {
        return settings::ReadWindowBounds(Settings(), settings::kMainFormBoundsSection,
                                          settings::kMainFormDefaultBounds);
    }

    TempDir dir_;
    std::filesystem::path file_ = dir_ / "tomberly.ini";
};

TEST_F(WindowBoundsTest, DefaultsWithoutFileSectionOrKeys) {
    EXPECT_EQ(ReadMain(), (TWindowBounds{10, 10, 900, 650}));
    EXPECT_EQ(settings::ReadWindowBounds(Settings(), settings::kPrintPreviewBoundsSection,
                                         settings::kPrintPreviewDefaultBounds),
              (TWindowBounds{10, 10, 630, 450}));

    Write("[other]\r\ntop=99\r\n");
    EXPECT_EQ(ReadMain(), (TWindowBounds{10, 10, 900, 650}));

    // Missing keys default one by one.
    Write("[locate]\r\nleft=200\r\nheight=480\r\n");
    EXPECT_EQ(ReadMain(), (TWindowBounds{200, 10, 900, 480}));
}

TEST_F(WindowBoundsTest, StoredValuesAsWritten) {
    Write("[locate]\r\ntop=-20\r\nleft=1300\r\nwidth=1024\r\nheight=700\r\n");
    // Off-screen positions are applied without any check against the screen.
    EXPECT_EQ(ReadMain(), (TWindowBounds{1300, -20, 1024, 700}));
}

TEST_F(WindowBoundsTest, GarbageGivesTheDefaults) {
    Write("[locate]\r\ntop=abc\r\nleft=\r\nwidth=12x\r\nheight=9999999999\r\n");
    EXPECT_EQ(ReadMain(), (TWindowBounds{10, 10, 900, 650}));

    // Sizes a window cannot take, and coordinates beyond what a screen addresses.
    Write("[locate]\r\ntop=40000\r\nleft=-32769\r\nwidth=0\r\nheight=-650\r\n");
    EXPECT_EQ(ReadMain(), (TWindowBounds{10, 10, 900, 650}));

    // The limits themselves are kept.
    Write("[locate]\r\ntop=-32768\r\nleft=32767\r\nwidth=1\r\nheight=32767\r\n");
    EXPECT_EQ(ReadMain(), (TWindowBounds{32767, -32768, 1, 32767}));
    Write("[locate]\r\nwidth=32768\r\n");
    EXPECT_EQ(ReadMain().width, 900);

    // A file that is not an INI file at all.
    Write(std::string("\x00\xFF\x81[locate\r\n=\r\n", 12));
    EXPECT_EQ(ReadMain(), (TWindowBounds{10, 10, 900, 650}));
}

TEST_F(WindowBoundsTest, WrittenBoundsReadBack) {
    settings::TIniGT settings = Settings();
    const TWindowBounds moved{321, 45, 1000, 720};
    ASSERT_TRUE(settings::WriteWindowBounds(settings, "locate", moved).ok());
    EXPECT_EQ(ReadMain(), moved);
    EXPECT_EQ(ReadFileBytes(file_),
              "[locate]\r\ntop=45\r\nleft=321\r\nwidth=1000\r\nheight=720\r\n");

    // Other sections stay as they are.
    ASSERT_TRUE(settings::WriteWindowBounds(settings, "Printlocate", {1, 2, 3, 4}).ok());
    EXPECT_EQ(ReadMain(), moved);
}

TEST_F(WindowBoundsTest, FailedWriteIsReported) {
    // The settings file's name is taken by a folder.
    std::filesystem::create_directory(file_);
    settings::TIniGT settings = Settings();
    const settings::TIniGTStatus status =
        settings::WriteWindowBounds(settings, "locate", {1, 2, 3, 4});
    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(status.message.empty());
}

TEST(FitOnScreen, WindowsPastAnEdgeAreMovedBackInAndLargeOnesShrunk) {
    // The free area of a 1400 x 1050 screen above a 40-pixel task bar.
    const TWindowBounds area{0, 0, 1400, 1010};
    EXPECT_EQ(settings::FitOnScreen({10, 10, 900, 650}, area), (TWindowBounds{10, 10, 900, 650}));
    EXPECT_EQ(settings::FitOnScreen({1300, 900, 900, 640}, area),
              (TWindowBounds{500, 370, 900, 640}));
    EXPECT_EQ(settings::FitOnScreen({-200, -30, 817, 200}, area), (TWindowBounds{0, 0, 817, 200}));
    EXPECT_EQ(settings::FitOnScreen({300, 200, 1600, 1200}, area),
              (TWindowBounds{0, 0, 1400, 1010}));
    // A second screen to the right.
    EXPECT_EQ(settings::FitOnScreen({2000, 600, 630, 450}, {1280, 30, 1024, 738}),
              (TWindowBounds{1674, 318, 630, 450}));
}

} // namespace
