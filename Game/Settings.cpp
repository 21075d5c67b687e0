#include "Game/Settings.h"

#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

#include "Audio/Sound_Manager.h"
#include "Core/Game_Speed.h"
#include "Core/Globals.h"
#include "Core/File_Writing.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"

namespace
{

// Keys the menus, the window and the developer's tools already answer to.
const int RESERVED_KEYS[] = {KEY_ESCAPE, KEY_F11, KEY_RETURN, KEY_M, KEY_K,       KEY_F,       KEY_G,
                             KEY_S,      KEY_E,   KEY_D,      KEY_W, KEY_KP_PLUS, KEY_KP_MINUS};

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool ReadSwitch(const std::string& value, const char* on, const char* off, bool& result)
{
    if (value == on)
        result = true;
    else if (value == off)
        result = false;
    else
        return false;
    return true;
}

// The file behind a chain of symbolic links (a dotfile manager's), even one that
// points at a file not made yet; the path itself when it is no link.
std::filesystem::path LinkTarget(const std::filesystem::path& path)
{
    namespace fs = std::filesystem;
    fs::path at = path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, error)); ++hops)
    {
        const fs::path to = fs::read_symlink(at, error);
        if (error)
            break;
        at = to.is_absolute() ? to : at.parent_path() / to;
    }
    return at;
}

// Writes the settings away from the frame: a write waits for the disk (twice, so
// that a crash leaves the old file or the new one, never half of one). The newest
// settings handed over win; older ones not yet written are dropped.
class Settings_Writer
{
public:
    ~Settings_Writer() { Finish(); }

    void Hand(const std::string& path, const Settings& settings)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mPath = path;
        mPending = settings;
        mHasPending = true;
        if (!mThread.joinable())
            mThread = std::thread(&Settings_Writer::Run, this);
        mWake.notify_one();
    }

    // Returns once everything handed over is written; a later Hand starts again.
    void Finish()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping = true;
        }
        mWake.notify_one();
        if (mThread.joinable())
            mThread.join();
        mStopping = false;
    }

private:
    void Run()
    {
        std::unique_lock<std::mutex> lock(mMutex);
        for (;;)
        {
            mWake.wait(lock, [this] { return mHasPending || mStopping; });
            if (!mHasPending)
                return;
            const std::string path = mPath;
            const Settings settings = mPending;
            mHasPending = false;
            lock.unlock();
            SaveSettings(path, settings);
            lock.lock();
        }
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    std::thread mThread;
    std::string mPath;
    Settings mPending;
    bool mHasPending = false;
    bool mStopping = false;
};

bool gKeeping = false;
std::string gKeptPath;
Settings gKept;
bool gChosenMouseSteering = false;
Settings_Writer gWriter;

bool ReadVolume(const std::string& value, float& result)
{
    std::istringstream digits(value);
    float volume = 0.0f;
    digits >> volume;
    if (digits.fail() || !digits.eof() || !std::isfinite(volume) || volume < 0.0f || volume > 1.0f)
        return false;
    result = volume;
    return true;
}

bool ReadGamepad(const std::string& value, int& result)
{
    int index = -1;
    if (value != "auto")
    {
        std::istringstream digits(value);
        digits >> index;
        if (digits.fail() || !digits.eof() || index < 0)
            return false;
    }
    result = index;
    return true;
}

bool ReadKey(const std::string& value, int& result, bool (*allowed)(int) = KeyCanBeChosen)
{
    const int key = KeyFromName(value);
    if (key == 0 || !allowed(key))
        return false;
    result = key;
    return true;
}

// "WIDTHxHEIGHT", each side no smaller than the smallest window and of a size some
// screen has. Both or neither are taken.
bool ReadWindowSize(const std::string& value, int& width, int& height)
{
    const int LARGEST = 16384;
    std::istringstream digits(value);
    long w = 0, h = 0;
    char by = 0;
    digits >> w >> by >> h;
    if (digits.fail() || !digits.eof() || by != 'x' || w < WINDOW_MIN_WIDTH || h < WINDOW_MIN_HEIGHT ||
        w > LARGEST || h > LARGEST)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ReadSpeed(const std::string& value, int& result)
{
    for (int percent = Game_Speed::FULL; percent >= Game_Speed::SLOWEST; percent -= Game_Speed::STEP)
        if (value == std::to_string(percent) + "%" || value == std::to_string(percent))
        {
            result = percent;
            return true;
        }
    return false;
}

} // namespace

bool KeyCanBeChosen(int key)
{
    for (int taken : RESERVED_KEYS)
        if (key == taken)
            return false;
    return true;
}

bool KeyCanPause(int key)
{
    // The pause menu reads the arrows as its own: a pause key among them would resume
    // play where the player meant to move the cursor or the volume.
    return KeyCanBeChosen(key) && key != KEY_UP && key != KEY_DOWN && key != KEY_LEFT && key != KEY_RIGHT;
}

namespace
{
// One "name = value" line; false when the name is unknown or the value will not do.
bool ReadSetting(const std::string& name, const std::string& value, Settings& settings)
{
    if (name == "volume")
        return ReadVolume(value, settings.mMusicVolume) && ReadVolume(value, settings.mEffectsVolume);
    if (name == "music")
        return ReadVolume(value, settings.mMusicVolume);
    if (name == "effects")
        return ReadVolume(value, settings.mEffectsVolume);
    if (name == "fullscreen")
        return ReadSwitch(value, "on", "off", settings.mFullScreen);
    if (name == "steering")
        return ReadSwitch(value, "mouse", "keyboard", settings.mMouseSteering);
    if (name == "gamepad")
        return ReadGamepad(value, settings.mGamepad);
    if (name == "left")
        return ReadKey(value, settings.mKeys.mLeft);
    if (name == "right")
        return ReadKey(value, settings.mKeys.mRight);
    if (name == "jump")
        return ReadKey(value, settings.mKeys.mJump);
    if (name == "pause")
        return ReadKey(value, settings.mKeys.mPause, KeyCanPause);
    if (name == "flashing")
        return ReadSwitch(value, "reduced", "full", settings.mReduceFlashing);
    if (name == "speed")
        return ReadSpeed(value, settings.mGameSpeed);
    if (name == "window")
        return ReadWindowSize(value, settings.mWindowWidth, settings.mWindowHeight);
    return false;
}
} // namespace

bool ParseSettings(std::istream& in, Settings& settings, std::vector<std::string>& errors)
{
    const size_t errorsBefore = errors.size();
    std::string line;
    int number = 0;
    while (std::getline(in, line))
    {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !ReadSetting(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), settings))
            errors.push_back("line " + std::to_string(number) + " is not understood: \"" + line + "\"");
    }
    // Two actions on one key would leave one of them without a key: those go back to
    // their defaults.
    const Key_Bindings defaults;
    int* const keys[] = {&settings.mKeys.mLeft, &settings.mKeys.mRight, &settings.mKeys.mJump,
                         &settings.mKeys.mPause};
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            if (*keys[i] == *keys[j])
            {
                errors.push_back("two actions are on \"" + KeyName(*keys[i]) + "\"");
                settings.mKeys = defaults;
            }
    if (in.bad())
        errors.push_back("it could not be read");
    return errors.size() == errorsBefore;
}

std::string FormatSettings(const Settings& settings)
{
    std::ostringstream out;
    out << "# Zoomquest keeps the choices made while playing here.\n";
    out << "music = " << settings.mMusicVolume << "\n";
    out << "effects = " << settings.mEffectsVolume << "\n";
    out << "fullscreen = " << (settings.mFullScreen ? "on" : "off") << "\n";
    out << "steering = " << (settings.mMouseSteering ? "mouse" : "keyboard") << "\n";
    out << "gamepad = " << (settings.mGamepad < 0 ? "auto" : std::to_string(settings.mGamepad)) << "\n";
    out << "left = " << KeyName(settings.mKeys.mLeft) << "\n";
    out << "right = " << KeyName(settings.mKeys.mRight) << "\n";
    out << "jump = " << KeyName(settings.mKeys.mJump) << "\n";
    out << "pause = " << KeyName(settings.mKeys.mPause) << "\n";
    out << "flashing = " << (settings.mReduceFlashing ? "reduced" : "full") << "\n";
    out << "speed = " << settings.mGameSpeed << "%\n";
    out << "window = " << settings.mWindowWidth << "x" << settings.mWindowHeight << "\n";
    return out.str();
}

std::string SettingsPath()
{
    // Only an absolute XDG_CONFIG_HOME counts; a relative one would follow the
    // working folder around.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && config[0] == '/')
    {
        folder = config;
    }
    else
    {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return "";
        folder = std::string(home) + "/.config";
    }
    return folder + "/zoomquest/settings";
}

Settings LoadSettings(const std::string& path)
{
    Settings settings;
    if (path.empty())
    {
        std::cerr << "Settings: no home folder to keep them in; using the defaults." << std::endl;
        return settings;
    }
    // No file yet is every player's first start, not something to report.
    std::error_code missing;
    if (!std::filesystem::exists(path, missing) && !missing)
        return settings;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
    {
        std::cerr << "Settings: " << path << " could not be opened; using the defaults." << std::endl;
        return settings;
    }
    std::vector<std::string> errors;
    ParseSettings(file, settings, errors);
    for (const std::string& error : errors)
        std::cerr << "Settings: " << path << ": " << error << "; its default is used." << std::endl;
    return settings;
}

bool SaveSettings(const std::string& path, const Settings& settings)
{
    if (path.empty())
        return false;
    // Replacing a link with a plain file would cut it from the file it stands for.
    const std::filesystem::path target = LinkTarget(path);
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    if (!ReplaceFile(target.string(), FormatSettings(settings)))
    {
        std::cerr << "Settings: could not write " << path << "; they last only until the game ends."
                  << std::endl;
        return false;
    }
    return true;
}

void ChooseSteering(bool mouse)
{
    gChosenMouseSteering = mouse;
    gMouseControl = mouse;
    gKeyboardControl = !mouse;
}

void ApplySettings(const Settings& settings)
{
    gSound.SetVolume(settings.mEffectsVolume, settings.mMusicVolume);
    ChooseSteering(settings.mMouseSteering);
    gKeys = settings.mKeys;
    for (int key : {gKeys.mLeft, gKeys.mRight, gKeys.mJump, gKeys.mPause})
        gInput.RegisterKey(key);
    gReduceFlashing = settings.mReduceFlashing;
    gGameSpeed.SetPercent(settings.mGameSpeed);
}

Settings CurrentSettings()
{
    Settings now = gKept; // what nothing in the game changes stays as it was
    now.mMusicVolume = gSound.GetMusicLevel();
    now.mEffectsVolume = gSound.GetVolume();
    now.mFullScreen = gGraphics.IsFullScreen();
    now.mMouseSteering = gChosenMouseSteering;
    now.mKeys = gKeys;
    now.mReduceFlashing = gReduceFlashing;
    now.mGameSpeed = gGameSpeed.GetPercent();
    now.mWindowWidth = gGraphics.GetWindowedWidth();
    now.mWindowHeight = gGraphics.GetWindowedHeight();
    return now;
}

void StartKeepingSettings(const std::string& path, const Settings& loaded)
{
    gKeeping = true;
    gKeptPath = path;
    gKept = loaded;
}

void FinishKeepingSettings()
{
    gWriter.Finish();
}

void KeepSettings()
{
    if (!gKeeping)
        return;
    const Settings now = CurrentSettings();
    if (now == gKept)
        return;
    // Tried once per change: a folder that cannot be written is not asked every frame.
    gKept = now;
    gWriter.Hand(gKeptPath, now);
}
