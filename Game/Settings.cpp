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
#include "Core/Globals.h"
#include "Game/High_Scores.h"
#include "Graphics/Graphics.h"

namespace
{

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

} // namespace

bool ParseSettings(std::istream& in, Settings& settings, std::string& error)
{
    Settings read = settings;
    std::string line;
    int number = 0;
    while (std::getline(in, line))
    {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        const std::string name = equals == std::string::npos ? line : Trim(line.substr(0, equals));
        const std::string value = equals == std::string::npos ? "" : Trim(line.substr(equals + 1));
        bool ok = equals != std::string::npos;
        if (ok && name == "volume")
        {
            std::istringstream digits(value);
            float volume = 0.0f;
            digits >> volume;
            ok = !digits.fail() && digits.eof() && std::isfinite(volume) && volume >= 0.0f && volume <= 1.0f;
            if (ok)
                read.mVolume = volume;
        }
        else if (ok && name == "fullscreen")
        {
            ok = ReadSwitch(value, "on", "off", read.mFullScreen);
        }
        else if (ok && name == "steering")
        {
            ok = ReadSwitch(value, "mouse", "keyboard", read.mMouseSteering);
        }
        else if (ok && name == "gamepad")
        {
            int index = -1;
            if (value != "auto")
            {
                std::istringstream digits(value);
                digits >> index;
                ok = !digits.fail() && digits.eof() && index >= 0;
            }
            if (ok)
                read.mGamepad = index;
        }
        else
        {
            ok = false;
        }
        if (!ok)
        {
            error = "line " + std::to_string(number) + " is not understood: \"" + line + "\"";
            return false;
        }
    }
    if (in.bad())
    {
        error = "it could not be read";
        return false;
    }
    settings = read;
    return true;
}

std::string FormatSettings(const Settings& settings)
{
    std::ostringstream out;
    out << "# Zoomquest keeps the choices made while playing here.\n";
    out << "volume = " << settings.mVolume << "\n";
    out << "fullscreen = " << (settings.mFullScreen ? "on" : "off") << "\n";
    out << "steering = " << (settings.mMouseSteering ? "mouse" : "keyboard") << "\n";
    out << "gamepad = ";
    if (settings.mGamepad < 0)
        out << "auto\n";
    else
        out << settings.mGamepad << "\n";
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
    std::string error;
    if (!ParseSettings(file, settings, error))
    {
        std::cerr << "Settings: " << path << ": " << error << "; using the defaults." << std::endl;
        return Settings();
    }
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
    if (!High_Scores::ReplaceFile(target.string(), FormatSettings(settings)))
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
    Settings now = gKept; // what nothing in the game changes stays as it was
    now.mVolume = gSound.GetVolume();
    now.mFullScreen = gGraphics.IsFullScreen();
    now.mMouseSteering = gChosenMouseSteering;
    if (now == gKept)
        return;
    // Tried once per change: a folder that cannot be written is not asked every frame.
    gKept = now;
    gWriter.Hand(gKeptPath, now);
}
