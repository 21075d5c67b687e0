#include "Game/Settings.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

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

bool gKeeping = false;
std::string gKeptPath;
Settings gKept;

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
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    if (!High_Scores::ReplaceFile(path, FormatSettings(settings)))
    {
        std::cerr << "Settings: could not write " << path << "; they last only until the game ends."
                  << std::endl;
        return false;
    }
    return true;
}

void StartKeepingSettings(const std::string& path, const Settings& loaded)
{
    gKeeping = true;
    gKeptPath = path;
    gKept = loaded;
}

void KeepSettings()
{
    if (!gKeeping)
        return;
    Settings now;
    now.mVolume = gSound.GetVolume();
    now.mFullScreen = gGraphics.IsFullScreen();
    now.mMouseSteering = gMouseControl;
    if (now == gKept)
        return;
    // Tried once per change: a folder that cannot be written is not asked every frame.
    gKept = now;
    SaveSettings(gKeptPath, now);
}
