// The shipped levels: they load without a word from the game, keep their records in
// order, name only pictures the image list has, and together use every kind of object.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Constants.h"
#include "Entities/Hint_Trigger.h"
#include "Graphics/Image_Bank.h"
#include "Level/Level_Loader.h"
#include "World/Entity.h"

namespace
{

const int LEVELS = 8;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Loaded_Level
{
    bool mComplete = false;
    std::string mOutput;
    std::vector<std::unique_ptr<Entity>> mEntities;
    std::vector<Entity*> mOverlay;

    explicit Loaded_Level(int number)
    {
        Level_Loader loader;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        mComplete = loader.Load(static_cast<uint16_t>(number), mEntities, mOverlay);
        mOutput = testing::internal::GetCapturedStdout();
        mOutput += testing::internal::GetCapturedStderr();
    }
};

// Type codes of a level file, read record by record with the game's field readers.
std::vector<int> TypeCodes(const std::string& text)
{
    std::vector<int> codes;
    std::istringstream in(text);
    char first;
    while (in >> first)
    {
        int code = -1;
        float distance, x;
        if (!Level_Loader::ReadIntField(in, code) || !Level_Loader::ReadFloatField(in, distance) ||
            !Level_Loader::ReadFloatField(in, x))
            break;
        std::vector<std::string> words;
        Level_Loader::ReadAttributeWords(in, words);
        codes.push_back(code);
    }
    return codes;
}

std::string Attribute(const Entity& e, const std::string& name)
{
    return e.HasAttribute(name) ? e.GetAttribute(name) : std::string();
}

} // namespace

TEST(ShippedLevels, EveryLevelLoadsWithoutAMessageInDistanceOrder)
{
    for (int n = 0; n < LEVELS; ++n)
    {
        SCOPED_TRACE("level " + std::to_string(n));
        Loaded_Level level(n);
        EXPECT_TRUE(level.mComplete);
        EXPECT_EQ(level.mOutput, "");
        ASSERT_GT(level.mEntities.size(), 20u);
        for (size_t i = 1; i < level.mEntities.size(); ++i)
            EXPECT_LE(level.mEntities[i - 1]->mZ, level.mEntities[i]->mZ) << "record " << i + 1;
        // The runner's first step takes it past the start line: nothing there is ever touched.
        EXPECT_GE(level.mEntities.front()->mZ, LEVEL_Z_OFFSET + 1.0f);
        for (const std::unique_ptr<Entity>& e : level.mEntities)
            EXPECT_EQ(e->mAttributes.size() % 2, 0u) << "record at " << e->mZ - LEVEL_Z_OFFSET;
    }
}

TEST(ShippedLevels, AttributeLinesEndRightAfterTheirLastWord)
{
    for (int n = 0; n < LEVELS; ++n)
    {
        const std::string path = Level_Loader::FileName(static_cast<uint16_t>(n));
        std::istringstream lines(ReadFile(path));
        std::string line;
        int number = 0;
        while (std::getline(lines, line))
        {
            ++number;
            ASSERT_FALSE(line.empty()) << path << ":" << number << " is empty";
            const char last = line.back();
            EXPECT_TRUE(last != ' ' && last != '\t' && last != '\r') << path << ":" << number;
        }
        EXPECT_GT(number, 0) << path;
    }
}

TEST(ShippedLevels, PictureKeysAreInTheImageList)
{
    Image_Bank bank;
    std::ifstream list((IMAGE_PATH + IMAGE_INFO_FILE).c_str());
    ASSERT_TRUE(list.is_open());
    testing::internal::CaptureStdout();
    ASSERT_TRUE(bank.ReadImageList(list, IMAGE_PATH, nullptr));
    const std::string listOutput = testing::internal::GetCapturedStdout();
    EXPECT_EQ(listOutput, "") << "the image list itself has faults";

    const char* const KEYED[] = {"IMAGE", "HINT", "CEILING", "FLOOR", "WALL", "HUDTEXTURE"};
    int checked = 0;
    for (int n = 0; n < LEVELS; ++n)
    {
        Loaded_Level level(n);
        for (const std::unique_ptr<Entity>& e : level.mEntities)
        {
            for (const char* name : KEYED)
            {
                const std::string key = Attribute(*e, name);
                if (key.empty() || key == "None" || key == "NONE")
                    continue;
                ++checked;
                EXPECT_TRUE(bank.HasImage(key))
                    << "level " << n << " at " << e->mZ - LEVEL_Z_OFFSET << ": " << name << " " << key;
            }
        }
    }
    EXPECT_GT(checked, 100);
}

// A data author copying a level's scenery records copies its cave: no picture of walls,
// floor, ceiling or frame that one level shows may turn up in another. A level with no
// scenery of its own shows the plain cave.
TEST(ShippedLevels, NoTwoLevelsShareAPictureOfTheirCave)
{
    const char* const LOOK[] = {"CEILING", "FLOOR", "WALL", "HUDTEXTURE"};
    std::map<std::string, int> owner;
    for (int n = 0; n < LEVELS; ++n)
    {
        Loaded_Level level(n);
        std::set<std::string> keys;
        for (const std::unique_ptr<Entity>& e : level.mEntities)
            if (e->HasAttribute("WALL") && e->GetAttribute("ALPHA") != "0")
                for (const char* name : LOOK)
                    keys.insert(Attribute(*e, name));
        if (keys.empty())
            keys = {"CEILING", "FLOOR", "WALL", "HUD"};
        for (const std::string& key : keys)
        {
            const auto found = owner.emplace(key, n);
            EXPECT_EQ(found.first->second, n)
                << key << " is shown by levels " << found.first->second << " and " << n;
        }
    }
}

TEST(ShippedLevels, EveryKindOfObjectIsUsedAndTriggersAreWellFormed)
{
    std::set<int> used;
    for (int n = 0; n < LEVELS; ++n)
    {
        const std::vector<int> codes = TypeCodes(ReadFile(Level_Loader::FileName(static_cast<uint16_t>(n))));
        used.insert(codes.begin(), codes.end());

        Loaded_Level level(n);
        ASSERT_EQ(codes.size(), level.mEntities.size()) << "level " << n;
        for (size_t i = 0; i < codes.size(); ++i)
        {
            const Entity& e = *level.mEntities[i];
            const std::string where = "level " + std::to_string(n) + " record " + std::to_string(i + 1);
            if (codes[i] == 2)
            {
                const std::string placement = Attribute(e, "PLACEMENT");
                EXPECT_TRUE(placement == "floor" || placement == "left" || placement == "right") << where;
            }
            if (codes[i] == 13 || codes[i] == 14)
            {
                ASSERT_TRUE(e.HasAttribute("FRAMES")) << where;
                EXPECT_GE(static_cast<int>(Entity::ParseFloat(e.GetAttribute("FRAMES"))), 1) << where;
            }
            if (codes[i] == 11)
            {
                EXPECT_GE(Entity::ParseInt(Attribute(e, "Distance")), 2) << where;
            }
        }
    }
    for (int code = 0; code <= 18; ++code)
    {
        EXPECT_TRUE(used.count(code)) << "type code " << code << " is used in no level";
    }
    EXPECT_EQ(used.size(), 19u) << "a level uses a code outside 0..18";
}

TEST(ShippedLevels, EachLevelOpensWithAHintAndLastsItsTime)
{
    float creditsLength = 0.0f;
    for (int n = 0; n < LEVELS; ++n)
    {
        SCOPED_TRACE("level " + std::to_string(n));
        Loaded_Level level(n);
        std::vector<float> hints;
        for (const std::unique_ptr<Entity>& e : level.mEntities)
        {
            if (dynamic_cast<const Hint_Trigger*>(e.get()))
                hints.push_back(e->mZ - LEVEL_Z_OFFSET);
        }
        ASSERT_FALSE(hints.empty());
        EXPECT_LT(hints.front(), 100.0f) << "the opening hint comes too late";
        const float length = level.mEntities.back()->mZ - LEVEL_Z_OFFSET;
        if (n >= 2 && n <= 6)
        {
            // The checkpoint sits around the middle of the level.
            ASSERT_EQ(hints.size(), 2u);
            EXPECT_GT(hints[1], length * 0.3f);
            EXPECT_LT(hints[1], length * 0.7f);
        }
        // 60 units a second: one to two minutes of running, the credits shorter.
        if (n < 7)
        {
            EXPECT_GE(length, 55.0f * 60.0f);
            EXPECT_LE(length, 120.0f * 60.0f);
        }
        else
        {
            creditsLength = length;
        }
    }
    EXPECT_GT(creditsLength, 0.0f);
    EXPECT_LT(creditsLength, 55.0f * 60.0f);
}
