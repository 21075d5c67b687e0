// The code-to-type table the level loader builds every entity through.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <set>
#include <string>
#include <typeinfo>

#include "Entities/Bone.h"
#include "Entities/Boost_Item.h"
#include "Entities/Boulder.h"
#include "Entities/Camera_Trigger.h"
#include "Entities/Cloak_Item.h"
#include "Entities/Clock_Item.h"
#include "Entities/Fog_Trigger.h"
#include "Entities/Hint_Trigger.h"
#include "Entities/Hole.h"
#include "Entities/Rock.h"
#include "Entities/Scenery_Trigger.h"
#include "Entities/Spike.h"
#include "Entities/Spinner_Item.h"
#include "Entities/Spring.h"
#include "Entities/Stalactite.h"
#include "Entities/Torch.h"
#include "Entities/Treasure.h"
#include "Level/Entity_Types.h"

TEST(EntityTypes, EveryCodeCreatesItsOwnType)
{
    const std::type_info* expected[] = {
        &typeid(Treasure),     &typeid(Rock),        &typeid(Spike),           &typeid(Boost_Item),
        &typeid(Spinner_Item), &typeid(Bone),        &typeid(Spring),          &typeid(Clock_Item),
        &typeid(Hole),         &typeid(Cloak_Item),  &typeid(Hint_Trigger),    &typeid(Camera_Trigger),
        &typeid(Torch),        &typeid(Fog_Trigger), &typeid(Scenery_Trigger), &typeid(Stalactite),
        &typeid(Treasure),     &typeid(Treasure),    &typeid(Boulder),
    };
    for (int code = 0; code <= 18; ++code)
    {
        std::unique_ptr<Entity> e(CreateEntity(code));
        ASSERT_NE(e, nullptr) << "code " << code;
        EXPECT_EQ(typeid(*e), *expected[code]) << "code " << code;
        const Entity_Type* row = FindEntityType(code);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->mCode, code);
        // The row's name is the class's, for tools and messages.
        EXPECT_NE(std::string(typeid(*e).name()).find(row->mName), std::string::npos) << row->mName;
    }
    // Only the hint is drawn in the overlay pass.
    for (int code = 0; code <= 18; ++code)
    {
        std::unique_ptr<Entity> e(CreateEntity(code));
        EXPECT_EQ(e->mInOverlayList, code == 10) << "code " << code;
        // A hit area never reaches past the box drawn: a runner passing beside is not struck.
        EXPECT_GE(e->GetCollisionMargin(), 0.0f) << "code " << code;
    }
}

TEST(EntityTypes, UnknownCodesCreateNothing)
{
    for (int code : {-1, -18, 19, 20, 100, 1 << 30})
    {
        EXPECT_EQ(FindEntityType(code), nullptr) << code;
        EXPECT_EQ(CreateEntity(code), nullptr) << code;
    }
}

TEST(EntityTypes, TableHasEachCodeOnceAndNoGaps)
{
    int count = 0;
    const Entity_Type* rows = GetEntityTypes(count);
    ASSERT_EQ(count, 19);
    std::set<int> codes;
    for (int i = 0; i < count; ++i)
    {
        EXPECT_TRUE(codes.insert(rows[i].mCode).second) << "code " << rows[i].mCode << " twice";
        EXPECT_NE(rows[i].mCreate, nullptr);
        EXPECT_EQ(FindEntityType(rows[i].mCode), &rows[i]);
    }
    EXPECT_EQ(*codes.begin(), 0);
    EXPECT_EQ(*codes.rbegin(), 18);
}

// The level README's table of type codes names, for every type, the attributes the
// type table says it reads ("none" when it reads none; 16 and 17 are "as 0").
TEST(EntityTypes, LevelReadmeListsWhatEachTypeReads)
{
    std::ifstream file("Data/Levels/Gold/README");
    ASSERT_TRUE(file.is_open());
    std::map<int, std::string> rows; // code: its row's text, continuation lines and all
    std::string line;
    bool inTable = false;
    int code = -1;
    const std::regex rowStart(R"(^ +(\d+) +\S+ +(.*)$)");
    while (std::getline(file, line))
    {
        if (line == "Type codes")
            inTable = true;
        else if (inTable && line.empty() && !rows.empty())
            break;
        std::smatch m;
        if (!inTable)
            continue;
        if (std::regex_match(line, m, rowStart))
        {
            code = std::stoi(m[1]);
            rows[code] = m[2];
        }
        else if (code >= 0)
        {
            rows[code] += " " + line;
        }
    }

    int count = 0;
    const Entity_Type* types = GetEntityTypes(count);
    ASSERT_EQ(static_cast<int>(rows.size()), count);
    for (int i = 0; i < count; ++i)
    {
        const Entity_Type& type = types[i];
        ASSERT_TRUE(rows.count(type.mCode)) << "code " << type.mCode;
        std::string text = rows[type.mCode];
        const std::regex sameAs(R"(^as (\d+))");
        std::smatch m;
        if (std::regex_search(text, m, sameAs))
        {
            const Entity_Type* other = FindEntityType(std::stoi(m[1]));
            ASSERT_NE(other, nullptr) << text;
            EXPECT_EQ(other->mAttributes, type.mAttributes) << "code " << type.mCode;
            continue;
        }
        if (type.mAttributeCount == 0)
        {
            EXPECT_EQ(text.rfind("none", 0), 0u) << "code " << type.mCode << ": " << text;
            continue;
        }
        std::istringstream words(text);
        std::set<std::string> named;
        for (std::string w; words >> w;)
            named.insert(w.substr(0, w.find_first_of(",:(.")));
        for (int a = 0; a < type.mAttributeCount; ++a)
            EXPECT_TRUE(named.count(type.mAttributes[a].mName))
                << "code " << type.mCode << " reads " << type.mAttributes[a].mName << ": " << text;
    }
}

TEST(EntityTypes, EveryTypeSetsItselfUpFromARecordWithoutMessagesWhenComplete)
{
    // Each type with the attributes a level file gives it: no "Oops" lines.
    const char* const words[19] = {"IMAGE GEM VALUE 5",
                                   "",
                                   "PLACEMENT left",
                                   "",
                                   "",
                                   "",
                                   "",
                                   "",
                                   "",
                                   "",
                                   "HINT None",
                                   "HalfWidth 0.5 Distance 60 Yaw 0.2 Pitch 0.1",
                                   "",
                                   "R 0 G 0 B 0 PERCENT 0.5 START_DIST 2 END_DIST 15 FRAMES 30",
                                   "CEILING C FLOOR F WALL W FRAMES 10 ALPHA 1 HUDTEXTURE H",
                                   "",
                                   "IMAGE GEM VALUE 5",
                                   "IMAGE GEM VALUE 5",
                                   "SIZE 1.5"};
    for (int code = 0; code <= 18; ++code)
    {
        std::vector<std::string> list;
        std::string w;
        for (const char* c = words[code];; ++c)
        {
            if (*c == ' ' || *c == '\0')
            {
                if (!w.empty())
                    list.push_back(w);
                w.clear();
                if (*c == '\0')
                    break;
            }
            else
                w += *c;
        }
        std::unique_ptr<Entity> e(CreateEntity(code));
        testing::internal::CaptureStdout();
        e->Init(0.5f, 400.0f, list);
        e->Setup();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, "") << "code " << code;
        EXPECT_TRUE(e->mAlive);
        EXPECT_TRUE(e->mSolid) << "code " << code;
        EXPECT_FALSE(e->mOnScreen);
    }
}
