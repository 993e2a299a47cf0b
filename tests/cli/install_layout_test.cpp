#include "platform/ini_file.h"
#include "support/run_process.h"
#include "support/scoped_variable.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

namespace fs = std::filesystem;
using test::ScopedVariable;
using test::TempFolder;

// The tool copied into a tree laid out as an installation lays it out, or as a portable copy.
class InstallLayout : public testing::Test {
protected:
    void SetUp() override {
        folder.MakeFolder("home");
        folder.MakeFolder("tree");
    }

    std::string Install(const std::string& bin, const std::string& data) {
        fs::create_directories(folder / bin);
        fs::create_directories(folder / data);
        fs::copy_file(TRALVO_CLI_PATH, folder / (bin + "/tralvo-cli"));
        fs::copy_file(std::string(TRALVO_BIN_DIR) + "/Tralvo.lng", folder / (data + "/Tralvo.lng"));
        return folder / (bin + "/tralvo-cli");
    }

    TempFolder folder;
    const ScopedVariable home{"HOME", folder / "home"};
    const ScopedVariable config{"XDG_CONFIG_HOME", std::nullopt};
};

TEST_F(InstallLayout, AnInstalledToolReadsItsCatalogueFromShareAndKeepsSettingsInTheHome) {
    const std::string tool = Install("tree/usr/bin", "tree/usr/share/tralvo");
    const test::ProcessResult names = test::RunProcess(tool, {"lang", "names"});
    ASSERT_EQ(names.exitCode, 0) << names.err;
    EXPECT_EQ(names.out.substr(0, 8), "English\n");

    ASSERT_EQ(test::RunProcess(tool, {"settings"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(folder / "home/.config/tralvo/Tralvo.ini"));
    EXPECT_FALSE(fs::exists(folder / "tree/usr/bin/Tralvo.ini"));

    const ScopedVariable otherConfig("XDG_CONFIG_HOME", folder / "xdg");
    const test::ProcessResult second = test::RunProcess(tool, {"settings"});
    EXPECT_EQ(second.out.substr(0, 11), "FirstRun=1\n"); // another folder, another first run
    EXPECT_TRUE(fs::exists(folder / "xdg/tralvo/Tralvo.ini"));
}

TEST_F(InstallLayout, APortableCopyKeepsEverythingBesideIt) {
    const std::string tool = Install("stick/bin", "stick/bin");
    ASSERT_EQ(test::RunProcess(tool, {"settings"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(folder / "stick/bin/Tralvo.ini"));
    EXPECT_FALSE(fs::exists(folder / "home/.config"));
    EXPECT_EQ(test::RunProcess(tool, {"settings"}).out.substr(0, 11), "FirstRun=0\n");
}

TEST_F(InstallLayout, BothProgramsPrintTheirVersionRecordWithoutADisplay) {
    const ScopedVariable display("DISPLAY", std::nullopt);
    const ScopedVariable platform("QT_QPA_PLATFORM", std::nullopt);
    for (const auto& [program, name] :
         {std::pair{TRALVO_CLI_PATH, "tralvo-cli"}, std::pair{TRALVO_GUI_PATH, "tralvo"}}) {
        const test::ProcessResult run = test::RunProcess(program, {"--version"});
        ASSERT_EQ(run.exitCode, 0) << name << ": " << run.err;
        EXPECT_EQ(run.out.substr(0, run.out.find(' ') + 1), std::string(name) + " ") << run.out;
        EXPECT_NE(run.out.find("Copyright (C)"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("GNU General Public License"), std::string::npos) << run.out;
    }
}

} // namespace
} // namespace tralvo
