#include "Level/Level_Loader.h"

#include <iostream>

#include <sys/stat.h>

#include "Core/Constants.h"
#include "Level/Entity_Types.h"
#include "World/Entity.h"

Level_Loader gLevelLoader;

std::string Level_Loader::FileName(uint16_t levelNumber)
{
    return LEVEL_PATH + LEVEL_PREFIX + std::to_string(levelNumber) + LEVEL_SUFFIX;
}

bool Level_Loader::Load(uint16_t levelNumber, std::vector<std::unique_ptr<Entity>>& entities,
                        std::vector<Entity*>& overlay)
{
    return LoadFile(FileName(levelNumber), entities, overlay);
}

bool Level_Loader::LoadFile(const std::string& path, std::vector<std::unique_ptr<Entity>>& entities,
                            std::vector<Entity*>& overlay)
{
    if (mFile.is_open())
        mFile.close();
    mFile.clear();
    // A folder opens like a file and reads as an empty level, passed at once.
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
    {
        std::cout << "Level " << path << " is not a file (a folder?): it cannot be played." << std::endl;
        return false;
    }
    mFile.open(path.c_str());
    if (!mFile.is_open())
    {
        std::cout << "FATAL ERROR. UNABLE TO OPEN LEVEL..." << std::endl;
        mFile.clear();
        return false;
    }
    const size_t before = entities.size();
    const bool complete = Read(mFile, entities, overlay);
    mFile.clear();
    mFile.close();
    // The level is as long as its last record is far; progress is divided by that.
    if (complete && entities.size() > before && !(entities.back()->mZ > 0.0f))
    {
        std::cout << "Level " << path << " ends at distance " << entities.back()->mZ - LEVEL_Z_OFFSET
                  << ", at or before the start of the run: it has no length and cannot be played."
                  << std::endl;
        return false;
    }
    return complete;
}

bool Level_Loader::Read(std::istream& in, std::vector<std::unique_ptr<Entity>>& entities,
                        std::vector<Entity*>& overlay)
{
    std::vector<std::string> words;
    for (;;)
    {
        // The first character of a record belongs to its first label.
        char first;
        if (!(in >> first))
        {
            in.clear();
            return true;
        }

        int code = 0;
        float distance = 0.0f, lateral = 0.0f;
        if (!ReadIntField(in, code) || !ReadFloatField(in, distance) || !ReadFloatField(in, lateral))
        {
            std::cout << " FATAL ERROR. UNEXPECTED END OF LEVEL FOUND..." << std::endl;
            return false;
        }

        words.clear();
        ReadAttributeWords(in, words);

        std::unique_ptr<Entity> entity = CreateEntity(code);
        if (!entity)
        {
            std::cout << "Unknown type code " << code << ": record skipped." << std::endl;
            continue;
        }
        entity->Init(lateral, distance + LEVEL_Z_OFFSET, words);
        words.clear();
        entity->Setup();
        if (entity->mInOverlayList)
            overlay.push_back(entity.get());
        entities.push_back(std::move(entity));
    }
}

// Skips the label: everything up to and including the next colon.
static bool SkipLabel(std::istream& in)
{
    char c;
    while (in >> c)
        if (c == ':')
            return true;
    return false;
}

bool Level_Loader::ReadIntField(std::istream& in, int& value)
{
    if (!SkipLabel(in))
    {
        std::cout << "':' could not be found." << std::endl;
        return false;
    }
    return static_cast<bool>(in >> value);
}

bool Level_Loader::ReadFloatField(std::istream& in, float& value)
{
    if (!SkipLabel(in))
    {
        std::cout << "':' could not be found." << std::endl;
        return false;
    }
    return static_cast<bool>(in >> value);
}

// A line feed, or a carriage return directly before one, comes next. A lone carriage
// return is only a blank.
static bool AtLineEnd(std::istream& in)
{
    int c = in.peek();
    if (c == '\r')
    {
        in.get();
        c = in.peek();
        if (c != '\n')
            return false;
    }
    return c == '\n';
}

void Level_Loader::ReadAttributeWords(std::istream& in, std::vector<std::string>& words)
{
    if (!SkipLabel(in))
        return;
    // The list ends only where a line feed follows a word directly: a trailing blank
    // lets the next line's first word in.
    if (!AtLineEnd(in))
    {
        do
        {
            std::string word;
            if (!(in >> word))
                return; // the file ended inside the list
            words.push_back(word);
        } while (!AtLineEnd(in));
    }
    in.get();
}
