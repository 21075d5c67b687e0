// What the player chose and expects to find again next time: the music and effects
// volumes, full screen or a window and the window's size, keyboard or mouse steering chosen in a menu, the
// keys of play, the assists (less flashing, a slower game), and which gamepad (a
// hand-edited index, or the first that will do).
// Kept as a few "name = value" lines in $XDG_CONFIG_HOME/zoomquest/settings
// (~/.config by default), replaced whole whenever one of them changes. A settings file
// that is a symbolic link is written through to where it points.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "Core/Constants.h"
#include "Input/Keys.h"

struct Settings
{
    float mMusicVolume = 1.0f;
    float mEffectsVolume = 1.0f; // voices follow it
    bool mFullScreen = false;
    bool mMouseSteering = false;
    int mGamepad = -1; // SDL's index of the pad to steer with; -1: the first that will do
    Key_Bindings mKeys;
    bool mReduceFlashing = false;
    int mGameSpeed = 100; // percent: 100, 90, 80, 70 or 60
    int mWindowWidth = SCREEN_WIDTH;
    int mWindowHeight = SCREEN_HEIGHT;

    bool operator==(const Settings& other) const
    {
        return mMusicVolume == other.mMusicVolume && mEffectsVolume == other.mEffectsVolume &&
               mFullScreen == other.mFullScreen && mMouseSteering == other.mMouseSteering &&
               mGamepad == other.mGamepad && mKeys == other.mKeys &&
               mReduceFlashing == other.mReduceFlashing && mGameSpeed == other.mGameSpeed &&
               mWindowWidth == other.mWindowWidth && mWindowHeight == other.mWindowHeight;
    }
};

// Reads the lines into settings. A line it cannot take leaves its setting as it was, and
// is named in errors, one entry a line; false when there is any. An older file's single
// "volume" sets both volumes.
bool ParseSettings(std::istream& in, Settings& settings, std::vector<std::string>& errors);
std::string FormatSettings(const Settings& settings);
// False for the keys the menus, the window and the developer's tools answer to
// (Escape, F11, Enter, the developer keys).
bool KeyCanBeChosen(int key);
// The same, and not an arrow, which the pause menu reads as its own.
bool KeyCanPause(int key);

// The settings file: $XDG_CONFIG_HOME/zoomquest/settings, else ~/.config/zoomquest/settings;
// empty when neither can be found.
std::string SettingsPath();
// The file's settings; the defaults when there is none yet (the first start, said
// nowhere), and the defaults with one line on standard error when it cannot be read.
// A damaged line gives its own setting's default and one line.
Settings LoadSettings(const std::string& path);
// Makes the folder and replaces the file whole (the file a link points to, when it is
// one). False, with one line on standard error, when it cannot be written.
bool SaveSettings(const std::string& path, const Settings& settings);

// The steering the player chose in a menu: it steers from now on and is kept. (The
// developer keys swap the steering of this run only.)
void ChooseSteering(bool mouse);

// Puts the settings into the game: volumes, steering, keys (registered with the input
// handler), flashing and speed. Full screen and the gamepad are for start-up.
void ApplySettings(const Settings& settings);
// The game's own choices as they stand now (the gamepad as last kept).
Settings CurrentSettings();

// Remembers the settings of this run: Start with those loaded, then Keep every frame
// hands the file to a writer of its own whenever the chosen values differ from the
// last ones handed over, so the frame never waits for the disk. Finish waits until
// the last of them is written (at the end of the game). Does nothing until started,
// so tests never reach the player's file.
void StartKeepingSettings(const std::string& path, const Settings& loaded);
void KeepSettings();
void FinishKeepingSettings();
