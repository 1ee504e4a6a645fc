// How an acquisition ends when not everything went in: the start time stays unless every
// record was stored, an interrupt during the last writes is reported after them, and an
// unreadable settings file stops the run before JV-Link is opened.
#include "acquisition/HeadlessAcquisition.h"
#include "store/StoreTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace acquisition;
using namespace keiba::storetest;
using keiba::test::S;
using keiba::test::TempDir;

// Plays the script and, at the end of the data, raises the interrupt: the loop then writes
// its held files with the interrupt already set.
class TInterruptAtEnd final : public jvlink::IJVLink {
public:
    TInterruptAtEnd(std::vector<TReadStep> steps, std::atomic<bool>& interrupt)
        : script_(std::move(steps)), interrupt_(interrupt) {}
    std::int32_t JVInit(const std::string& sid) override { return script_.JVInit(sid); }
    std::string JVLinkVersion() override { return script_.JVLinkVersion(); }
    std::int32_t JVSetUIProperties() override { return 0; }
    std::int32_t JVOpen(const std::string& dataSpec, const std::string& from, std::int32_t option,
                        std::int32_t& r, std::int32_t& d, std::string& t) override {
        return script_.JVOpen(dataSpec, from, option, r, d, t);
    }
    std::int32_t JVStatus() override { return 0; }
    std::int32_t JVRead(std::string& buffer, std::int32_t size, std::string& file) override {
        const std::int32_t code = script_.JVRead(buffer, size, file);
        if (code == 0) {
            interrupt_.store(true);
        }
        return code;
    }
    std::int32_t JVCancel() override { return 0; }
    std::int32_t JVClose() override { return 0; }

private:
    TScriptedJVLink script_;
    std::atomic<bool>& interrupt_;
};

const TRaceId kDay{"20040508", "05", "02", "05", "01"};

TAcquisitionResult Acquire(jvlink::IJVLink& link, const fs::path& root, std::atomic<bool>& cancel,
                           TRecordingSink& sink) {
    TAcquisitionRequest request;
    request.root = root;
    return RunAcquisition(link, request, FixedClock(2004, 5, 10), cancel, sink);
}

TEST(HonestEndings, OnlyARunThatStoredEverythingMovesTheStartTime) {
    std::atomic<bool> cancel{false};
    {
        TempDir root;
        TRecordingSink sink;
        TScriptedJVLink link(RecordSteps({MakeUM("2001104567")}));
        EXPECT_EQ(Acquire(link, root.path(), cancel, sink).nextStartTime, "2004/05/01 00:00:00");
    }
    {
        // A record refused for a clash of racecourse names.
        TempDir root;
        TRecordingSink sink;
        const TRaceId sapporo{"20040508", "01", "01", "05", "01"};
        const TRaceId local{"20040508", "58", "01", "05", "01"}; // also 札幌
        TScriptedJVLink link(
            RecordSteps({MakeSE(sapporo, "01", "2001104567", '2'), MakeUM("2001104568"),
                         MakeSE(local, "01", "2001104569", '2')}));
        const TAcquisitionResult result = Acquire(link, root.path(), cancel, sink);
        EXPECT_EQ(result.end, TAcquisitionEnd::Completed);
        EXPECT_EQ(result.loop.refused.clash, 1u);
        EXPECT_EQ(result.loop.stored, 2u);
        EXPECT_FALSE(result.nextStartTime);
    }
    {
        // A file that could not be written: the counts leave its record out.
        TempDir root;
        fs::create_directories(root / "SEIR");
        keiba::test::WriteFileBytes(root / "SEIR" / "2004", "in the way");
        TRecordingSink sink;
        TScriptedJVLink link(RecordSteps({MakeUM("2001104567"), MakeRA(kDay, '7')}));
        const TAcquisitionResult result = Acquire(link, root.path(), cancel, sink);
        EXPECT_EQ(result.end, TAcquisitionEnd::StoreError);
        EXPECT_EQ(result.loop.stored, 1u);
        EXPECT_EQ(result.loop.lost, 1u);
        EXPECT_FALSE(result.nextStartTime);
    }
}

TEST(HonestEndings, AnInterruptDuringTheLastWritesIsReportedAfterThem) {
    TempDir root;
    std::atomic<bool> cancel{false};
    TRecordingSink sink;
    TInterruptAtEnd link(RecordSteps({MakeUM("2001104567"), MakeRA(kDay, '7')}), cancel);
    const TAcquisitionResult result = Acquire(link, root.path(), cancel, sink);
    EXPECT_EQ(result.end, TAcquisitionEnd::Cancelled);
    EXPECT_TRUE(result.loop.Completed()) << "everything read was written";
    EXPECT_EQ(result.loop.stored, 2u);
    EXPECT_TRUE(fs::exists(root / "UM2" / "2001" / "2001104567.jvUM2"));
    EXPECT_TRUE(fs::exists(root / "SEIR" / "2004" / "2004050805.jvSERA"));
    EXPECT_FALSE(result.nextStartTime);
    EXPECT_EQ(sink.texts.back(), S("JVCancel:キャンセルされました"));
    EXPECT_TRUE(result.closed);
}

TEST(HonestEndings, ASettingsFileThatCannotBeReadIsNamed) {
    TempDir root;
    EXPECT_FALSE(SettingsReadFailure(root / "tomberly.ini")) << "missing: the defaults hold";
    keiba::test::WriteFileBytes(root / "tomberly.ini", "[JvDataGet]\r\n");
    EXPECT_FALSE(SettingsReadFailure(root / "tomberly.ini"));
    fs::remove(root / "tomberly.ini");
    fs::create_directory(root / "tomberly.ini");
    const auto failure = SettingsReadFailure(root / "tomberly.ini");
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->starts_with(S("設定ファイルを読み込めません:"))) << *failure;
    EXPECT_NE(failure->find("tomberly.ini"), std::string::npos);
}

} // namespace
