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
#include "Input/Keys.h"
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
    top.mMusicVolume = 1.0f;
    top.mEffectsVolume = 1.0f;
    top.mFullScreen = true;
    top.mMouseSteering = true;
    top.mGamepad = 2;
    top.mKeys.mLeft = 'a';
    top.mKeys.mRight = KEY_UP;
    top.mKeys.mJump = 304;  // left shift
    top.mKeys.mPause = 312; // no name of its own
    top.mReduceFlashing = true;
    top.mWindowWidth = 3840;
    top.mWindowHeight = 2160;
    Settings middle = top;
    middle.mMusicVolume = 0.3f;
    middle.mEffectsVolume = 0.7f;
    middle.mGameSpeed = 80;
    middle.mWindowWidth = WINDOW_MIN_WIDTH;
    middle.mWindowHeight = WINDOW_MIN_HEIGHT;
    Settings bottom;
    bottom.mMusicVolume = 0.0f;
    bottom.mEffectsVolume = 0.0f;
    bottom.mGameSpeed = 60;
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

    // What is read is what the game then runs with.
    ApplySettings(LoadSettings(path));
    Settings running = CurrentSettings();
    running.mFullScreen = bottom.mFullScreen; // the window opens with it; none here
    running.mGamepad = bottom.mGamepad;       // the pad is opened at start-up
    EXPECT_EQ(running, bottom);
    ApplySettings(Settings());

    // Hand-edited: spaces, comments and blank lines are fine.
    Write(path, "  # mine\n\nsteering=keyboard\r\n volume =0 \nfullscreen = off\n");
    const Settings edited = LoadSettings(path);
    EXPECT_EQ(edited.mMusicVolume, 0.0f);
    EXPECT_EQ(edited.mEffectsVolume, 0.0f);
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
        "volume = 1.5\n",        "volume = nan\n",    "volume = 0.5x\n",    "volume =\n",
        "fullscreen = yes\n",    "steering = pad\n",  "volume 0.5\n",       "colour = red\n",
        "gamepad = -1\n",        "gamepad = first\n", "window = 319x240\n", "window = 1280\n",
        "window = 1280x960x2\n",
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

    // A damaged line gives its own default, one line each; the others are kept. An
    // older file's single volume sets both.
    Write(path, "volume = 0.4\nspeed = 70%\njump = escape\nflashing = reduced\n\x01\xff\nspeed = 50\n"
                "pause = f11\nleft = d\nright = j\npause = down\n");
    testing::internal::CaptureStderr();
    Settings mixed = LoadSettings(path);
    std::string mixedSaid = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(mixedSaid.begin(), mixedSaid.end(), '\n'), 6) << mixedSaid;
    EXPECT_FLOAT_EQ(mixed.mMusicVolume, 0.4f);
    EXPECT_FLOAT_EQ(mixed.mEffectsVolume, 0.4f);
    EXPECT_EQ(mixed.mGameSpeed, 70);
    EXPECT_TRUE(mixed.mReduceFlashing);
    EXPECT_EQ(mixed.mKeys.mJump, KEY_SPACE);
    EXPECT_EQ(mixed.mKeys.mPause, KEY_P);
    EXPECT_EQ(mixed.mKeys.mLeft, KEY_LEFT);
    EXPECT_EQ(mixed.mKeys.mRight, 'j');

    // Two actions on one key: the keys go back to theirs, so none is left without.
    Write(path, "left = j\nright = j\nmusic = 0.5\n");
    testing::internal::CaptureStderr();
    mixed = LoadSettings(path);
    mixedSaid = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(mixedSaid.begin(), mixedSaid.end(), '\n'), 1) << mixedSaid;
    EXPECT_EQ(mixed.mKeys, Key_Bindings());
    EXPECT_FLOAT_EQ(mixed.mMusicVolume, 0.5f);

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
    louder.mMusicVolume = 0.9f;

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
    start.mMusicVolume = 0.5f;
    start.mEffectsVolume = 0.5f;
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
    EXPECT_FLOAT_EQ(read.mMusicVolume, 0.4f);
    EXPECT_FLOAT_EQ(read.mEffectsVolume, 0.4f);
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
