#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "Audio/Sound_Manager.h"
#include "Core/Globals.h"
#include "Game/Settings.h"

namespace
{

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zq-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mFolder = pattern;
    }
    void TearDown() override
    {
        chmod((mFolder + "/zoomquest").c_str(), 0755);
        std::system(("rm -rf '" + mFolder + "'").c_str());
    }

    void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string mFolder;
};

TEST_F(SettingsTest, RoundTripThroughTheFile)
{
    // Each end of each range, and between: a choice that does not come back resets the
    // player's settings at every start. The top end is every player's volume.
    Settings top;
    top.mVolume = 1.0f;
    top.mFullScreen = true;
    top.mMouseSteering = true;
    top.mGamepad = 2;
    Settings middle = top;
    middle.mVolume = 0.3f;
    Settings bottom;
    bottom.mVolume = 0.0f;
    // The folder does not exist yet on a first run.
    const std::string path = mFolder + "/zoomquest/settings";
    for (const Settings& chosen : {top, middle, bottom})
    {
        ASSERT_TRUE(SaveSettings(path, chosen));
        testing::internal::CaptureStderr();
        const Settings read = LoadSettings(path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(read, chosen) << FormatSettings(chosen);
    }

    // Hand-edited: spaces, comments and blank lines are fine.
    Write(path, "  # mine\n\nsteering=keyboard\r\n volume =0 \nfullscreen = off\n");
    const Settings edited = LoadSettings(path);
    EXPECT_EQ(edited.mVolume, 0.0f);
    EXPECT_FALSE(edited.mFullScreen);
    EXPECT_FALSE(edited.mMouseSteering);

    // Kept by a dotfile manager: the link stays and the file it points to (not made
    // yet, in a folder not made yet) takes the settings.
    const std::string linked = mFolder + "/linked";
    const std::string target = mFolder + "/dotfiles/zoomquest";
    ASSERT_EQ(symlink("dotfiles/zoomquest", linked.c_str()), 0);
    ASSERT_TRUE(SaveSettings(linked, top));
    struct stat link;
    ASSERT_EQ(lstat(linked.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(LoadSettings(target), top);
    ASSERT_TRUE(SaveSettings(linked, bottom));
    EXPECT_EQ(LoadSettings(linked), bottom);
}

TEST_F(SettingsTest, DamagedFileGivesTheDefaultsAndOneLineAMissingOneNothing)
{
    const std::string path = mFolder + "/settings";
    const char* damaged[] = {
        "volume = 1.5\n",           "volume = nan\n",   "volume = 0.5x\n",   "volume =\n",
        "fullscreen = yes\n",       "steering = pad\n", "volume 0.5\n",      "colour = red\n",
        "volume = 0.2\n\x01\xff\n", "gamepad = -1\n",   "gamepad = first\n",
    };
    for (const char* text : damaged)
    {
        Write(path, text);
        testing::internal::CaptureStderr();
        const Settings read = LoadSettings(path);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(read, Settings()) << text;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << text << said;
        EXPECT_NE(said.find(path), std::string::npos) << said;
    }

    // No file yet: every first start, nothing to say.
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSettings(mFolder + "/none"), Settings());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // A folder where the file should be cannot be read as one.
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSettings(mFolder), Settings());
    const std::string folderSaid = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(folderSaid.begin(), folderSaid.end(), '\n'), 1) << folderSaid;
}

TEST_F(SettingsTest, UnwritableFolderFailsInOneLineAndKeepsTheOldFile)
{
    Settings louder;
    louder.mVolume = 0.9f;

    // A file standing where the folder should be stops even the superuser.
    Write(mFolder + "/blocked", "not a folder");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings(mFolder + "/blocked/settings", louder));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    const std::string folder = mFolder + "/zoomquest";
    const std::string path = folder + "/settings";
    ASSERT_TRUE(SaveSettings(path, Settings()));
    const std::string before = Read(path);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings(path, louder));
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(Read(path), before);
    EXPECT_EQ(LoadSettings(path), Settings());
}

TEST_F(SettingsTest, PathFollowsXdgConfigHome)
{
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";

    setenv("XDG_CONFIG_HOME", mFolder.c_str(), 1);
    EXPECT_EQ(SettingsPath(), mFolder + "/zoomquest/settings");
    // A relative one is not a place; the home folder's default is used.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", "/home/runner", 1);
    EXPECT_EQ(SettingsPath(), "/home/runner/.config/zoomquest/settings");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_EQ(SettingsPath(), "");

    setenv("HOME", savedHome.c_str(), 1);
    if (oldConfig)
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}

TEST_F(SettingsTest, KeptOnlyWhenTheChoiceChanges)
{
    const std::string path = mFolder + "/zoomquest/settings";
    // Not started: nothing is written anywhere.
    gSound.SetVolume(0.5f);
    KeepSettings();

    Settings start;
    start.mVolume = 0.5f;
    start.mGamepad = 1; // hand-edited: nothing in the game changes it
    ChooseSteering(false);
    StartKeepingSettings(path, start);
    KeepSettings();
    FinishKeepingSettings();
    EXPECT_FALSE(std::ifstream(path).is_open());

    gSound.SetVolume(0.4f);
    KeepSettings();
    FinishKeepingSettings();
    Settings read = LoadSettings(path);
    EXPECT_FLOAT_EQ(read.mVolume, 0.4f);
    EXPECT_FALSE(read.mMouseSteering);
    EXPECT_EQ(read.mGamepad, 1);

    // A developer key swaps the steering for this run only; a menu's choice is kept.
    gMouseControl = true;
    gKeyboardControl = false;
    KeepSettings();
    FinishKeepingSettings();
    EXPECT_FALSE(LoadSettings(path).mMouseSteering);
    ChooseSteering(true);
    EXPECT_TRUE(gMouseControl);
    KeepSettings();
    FinishKeepingSettings();
    EXPECT_TRUE(LoadSettings(path).mMouseSteering);
    ChooseSteering(false);
    gSound.SetVolume(0.5f);
    KeepSettings();
    FinishKeepingSettings();
    EXPECT_EQ(LoadSettings(path), start);
    gSound.SetVolume(1.0f);
}

} // namespace
