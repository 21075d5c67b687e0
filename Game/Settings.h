// What the player chose and expects to find again next time: the volume set in the
// pause menu, full screen or a window, keyboard or mouse steering chosen in a menu, and
// which gamepad (a hand-edited index, or the first that will do).
// Kept as a few "name = value" lines in $XDG_CONFIG_HOME/zoomquest/settings
// (~/.config by default), replaced whole whenever one of them changes. A settings file
// that is a symbolic link is written through to where it points.
#pragma once

#include <istream>
#include <string>

struct Settings
{
    float mVolume = 1.0f;
    bool mFullScreen = false;
    bool mMouseSteering = false;
    int mGamepad = -1; // SDL's index of the pad to steer with; -1: the first that will do

    bool operator==(const Settings& other) const
    {
        return mVolume == other.mVolume && mFullScreen == other.mFullScreen &&
               mMouseSteering == other.mMouseSteering && mGamepad == other.mGamepad;
    }
    bool operator!=(const Settings& other) const { return !(*this == other); }
};

// Reads the lines into settings. False, with what is wrong in error, for anything it
// cannot take (settings is then left as it was).
bool ParseSettings(std::istream& in, Settings& settings, std::string& error);
std::string FormatSettings(const Settings& settings);

// The settings file: $XDG_CONFIG_HOME/zoomquest/settings, else ~/.config/zoomquest/settings;
// empty when neither can be found.
std::string SettingsPath();
// The file's settings; the defaults when there is none yet (the first start, said
// nowhere), and the defaults with one line on standard error when it cannot be read
// or is damaged.
Settings LoadSettings(const std::string& path);
// Makes the folder and replaces the file whole (the file a link points to, when it is
// one). False, with one line on standard error, when it cannot be written.
bool SaveSettings(const std::string& path, const Settings& settings);

// The steering the player chose in a menu: it steers from now on and is kept. (The
// developer keys swap the steering of this run only.)
void ChooseSteering(bool mouse);

// Remembers the settings of this run: Start with those loaded, then Keep every frame
// hands the file to a writer of its own whenever the chosen values differ from the
// last ones handed over, so the frame never waits for the disk. Finish waits until
// the last of them is written (at the end of the game). Does nothing until started,
// so tests never reach the player's file.
void StartKeepingSettings(const std::string& path, const Settings& loaded);
void KeepSettings();
void FinishKeepingSettings();
