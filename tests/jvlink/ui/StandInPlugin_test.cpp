// The stand-in plug-in as the program meets it: created by the programmatic identifier from
// the program's folder (the test executables lie beside the plug-in), with its settings file
// in the per-user configuration folder and its settings dialog behind JVSetUIProperties.
#include "files/ProgramFolder.h"
#include "jvlink/CreateJVLink.h"
#include "jvlink/StandInPlugin.h"
#include "jvlink/StandInTestCatalogue.h"
#include "jvlink/standin/CatalogueFolder.h"
#include "jvlink/standin/FileIo.h"
#include "jvlink/standin/StandInSettings.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace {

namespace fs = std::filesystem;
using namespace keiba::test;

class StandInPluginTest : public ::testing::Test {
protected:
    StandInPluginTest() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            oldConfig_ = old;
        }
        setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    }
    ~StandInPluginTest() override {
        if (oldConfig_) {
            setenv("XDG_CONFIG_HOME", oldConfig_->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

    fs::path SettingsFile() const { return config / "tomberly" / "jvlink-standin.ini"; }

    std::unique_ptr<jvlink::IJVLink> Create() {
        auto link = jvlink::CreateJVLink(jvlink::kJVLinkProgId);
        EXPECT_NE(link, nullptr) << "the plug-in must load from " << files::ProgramFolder();
        return link;
    }

    // Runs act on the settings dialog once it is up, while JVSetUIProperties shows it.
    std::int32_t WithDialog(jvlink::IJVLink& link, std::function<void(QDialog&)> act) {
        bool seen = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QDialog*>(widget);
                if (dialog != nullptr && dialog->isVisible() &&
                    dialog->objectName() == QStringLiteral("StandInSettingsDialog")) {
                    poll.stop();
                    seen = true;
                    act(*dialog);
                    return;
                }
            }
        });
        poll.start();
        const std::int32_t result = link.JVSetUIProperties();
        EXPECT_TRUE(seen) << "the settings dialog was not shown";
        return result;
    }

    static void Press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttons"));
        ASSERT_NE(buttons, nullptr);
        buttons->button(which)->click();
    }

    TempDir config;

private:
    std::optional<std::string> oldConfig_;
};

TEST_F(StandInPluginTest, CreatedByTheProgrammaticIdentifierFromTheProgramFolder) {
    EXPECT_TRUE(fs::exists(files::ProgramFolder() / std::string(jvlink::kStandInPluginFile)));
    auto link = Create();
    ASSERT_NE(link, nullptr);
    EXPECT_NE(jvlink::CreateJVLink("jvdtlab.jvlink"), nullptr) << "letter case aside";
    EXPECT_EQ(link->JVInit("UNKNOWN"), 0);
    EXPECT_EQ(link->JVLinkVersion(), "0490");
    EXPECT_EQ(jvlink::CreateJVLink("JVDTLab.Other"), nullptr);
}

TEST_F(StandInPluginTest, PlugInMissingFromTheFolderIsNotInstalled) {
    TempDir elsewhere;
    EXPECT_EQ(jvlink::LoadStandInPlugin(elsewhere.path()), nullptr);
    EXPECT_NE(jvlink::LoadStandInPlugin(files::ProgramFolder()), nullptr);
}

TEST_F(StandInPluginTest, WorksOutOfTheBoxWithTheBuiltInSeason) {
    auto link = Create();
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->JVInit("UNKNOWN"), 0);
    std::int32_t reads = 0;
    std::int32_t downloads = 0;
    std::string last;
    ASSERT_EQ(link->JVOpen("RACERCVN", "20000101000000", 2, reads, downloads, last), 0);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(downloads, reads) << "a fresh download cache holds nothing";
    EXPECT_EQ(WaitForStatus(*link, downloads, std::chrono::seconds(60)), downloads);
    const auto read = ReadEverything(*link);
    EXPECT_EQ(read.end, 0);
    EXPECT_EQ(static_cast<std::int32_t>(read.files.size()), reads);
    EXPECT_EQ(link->JVClose(), 0);
    EXPECT_TRUE(fs::is_directory(config / "tomberly" / "jvlink-standin-data"));
}

TEST_F(StandInPluginTest, ServesACatalogueFolder) {
    standin::TCatalogue catalogue;
    catalogue.files = {MakeFile("RA.dat", "RACE", "20260103090000", 3),
                       MakeFile("RC.dat", "RCVN", "20260104090000", 2, "RC"),
                       MakeFile("OLD.dat", "RACE", "20251201090000", 2)};
    ASSERT_EQ(standin::WriteCatalogueFolder(catalogue, config / "season"), "");
    standin::TStandInSettings settings;
    settings.source = standin::TDataSource::Folder;
    settings.dataFolder = standin::PathToUtf8(config / "season");
    settings.downloadMsPerFile = 5;
    ASSERT_TRUE(standin::SaveSettings(SettingsFile(), settings));

    auto link = Create();
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->JVInit("UNKNOWN"), 0);
    std::int32_t reads = 0;
    std::int32_t downloads = 0;
    std::string last;
    ASSERT_EQ(link->JVOpen("RACERCVN", "20260101000000", 2, reads, downloads, last), 0);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(downloads, 2);
    EXPECT_EQ(last, "20260104090000");
    EXPECT_EQ(WaitForStatus(*link, 2), 2);
    const auto read = ReadEverything(*link);
    ASSERT_EQ(read.end, 0);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_EQ(read.files[0].first, "RA.dat");
    EXPECT_EQ(read.files[0].second.size(), 3u);
    EXPECT_EQ(read.files[1].first, "RC.dat");
    EXPECT_EQ(link->JVClose(), 0);

    fs::remove(config / "season" / "catalogue.txt");
    EXPECT_EQ(link->JVOpen("RACERCVN", "20260101000000", 2, reads, downloads, last), -401);
}

TEST_F(StandInPluginTest, SettingsDialogSavesWhatIsEntered) {
    auto link = Create();
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->JVInit("UNKNOWN"), 0);
    const std::int32_t result = WithDialog(*link, [](QDialog& dialog) {
        auto* key = dialog.findChild<QLineEdit*>(QStringLiteral("serviceKey"));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->text().toStdString(), standin::TStandInSettings{}.serviceKey);
        key->setText(QStringLiteral("  NEW-KEY  "));
        dialog.findChild<QComboBox*>(QStringLiteral("dataSource"))->setCurrentIndex(1);
        dialog.findChild<QLineEdit*>(QStringLiteral("dataFolder"))
            ->setText(QStringLiteral("/data/季節"));
        dialog.findChild<QSpinBox*>(QStringLiteral("faultOpen"))->setValue(-504);
        dialog.findChild<QSpinBox*>(QStringLiteral("setupYears"))->setValue(4);
        dialog.findChild<QSpinBox*>(QStringLiteral("faultStatusAfter"))->setValue(2);
        dialog.findChild<QComboBox*>(QStringLiteral("faultCorruption"))->setCurrentIndex(2);
        dialog.findChild<QLineEdit*>(QStringLiteral("version"))->setText(QStringLiteral("0501"));
        Press(dialog, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(result, 0);
    const auto saved = standin::LoadSettings(SettingsFile());
    EXPECT_EQ(saved.serviceKey, "NEW-KEY");
    EXPECT_EQ(saved.source, standin::TDataSource::Folder);
    EXPECT_EQ(saved.dataFolder, "/data/季節");
    EXPECT_EQ(saved.faults.openError, -504);
    EXPECT_EQ(saved.setupYears, 4);
    EXPECT_EQ(saved.faults.statusFailAfter, 2);
    EXPECT_EQ(saved.faults.corruption, standin::TCorruption::Path);
    EXPECT_EQ(saved.faults.readFailAt, 0) << "untouched fields keep their values";
    EXPECT_EQ(link->JVLinkVersion(), "0501");

    // The dialog shows the saved settings the next time.
    EXPECT_EQ(
        WithDialog(*link,
                   [](QDialog& dialog) {
                       EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("serviceKey"))->text(),
                                 QStringLiteral("NEW-KEY"));
                       EXPECT_EQ(dialog.findChild<QSpinBox*>(QStringLiteral("faultOpen"))->value(),
                                 -504);
                       Press(dialog, QDialogButtonBox::Ok);
                   }),
        0);
    EXPECT_EQ(standin::LoadSettings(SettingsFile()), saved);
}

TEST_F(StandInPluginTest, CancelledDialogChangesNothing) {
    auto link = Create();
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->JVInit("UNKNOWN"), 0);
    EXPECT_EQ(
        WithDialog(
            *link,
            [](QDialog& dialog) {
                dialog.findChild<QLineEdit*>(QStringLiteral("serviceKey"))->setText(QString());
                Press(dialog, QDialogButtonBox::Cancel);
            }),
        0);
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(StandInPluginTest, DialogReportsASettingsFileThatCannotBeWritten) {
    fs::create_directories(SettingsFile()); // a folder where the file should be
    auto link = Create();
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->JVInit("UNKNOWN"), 0);
    EXPECT_EQ(WithDialog(*link, [](QDialog& dialog) { Press(dialog, QDialogButtonBox::Ok); }),
              -100);
}

} // namespace
