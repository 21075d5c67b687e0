#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Entities/Player.h"
#include "World/Entity.h"

namespace
{
class Plain_Entity : public Entity
{
public:
    void Setup() override {}
};

std::string Captured(const std::function<void()>& action)
{
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
} // namespace

TEST(Entity, InitReadsSizeAndHeight)
{
    Plain_Entity e;
    std::string out = Captured(
        [&] {
            e.Init(0.3f, 310.0f, {"IMAGE", "ROCK", "SIZE", "2.5", "Y_VALUE", "0.25"});
        });
    EXPECT_EQ("", out);
    EXPECT_FLOAT_EQ(0.3f, e.mX);
    EXPECT_FLOAT_EQ(310.0f, e.mZ);
    EXPECT_FLOAT_EQ(2.5f, e.mSize);
    EXPECT_FLOAT_EQ(0.25f, e.mY);
    EXPECT_TRUE(e.mAlive && e.mSolid);
    EXPECT_FALSE(e.mOnScreen);

    // Neither present: defaults, and not a word printed.
    Plain_Entity bare;
    out = Captured([&] { bare.Init(0.5f, 300.0f, {"IMAGE", "ROCK"}); });
    EXPECT_EQ("", out);
    EXPECT_FLOAT_EQ(1.0f, bare.mSize);
    EXPECT_FLOAT_EQ(1.0f, bare.mY);
}

TEST(Entity, SizeAndHeightOutsideSaneRangesAreClampedWithOneLine)
{
    // A negative or zero size flips or empties the box; a huge height puts it far outside the corridor.
    struct Case
    {
        const char* size;
        const char* y;
        float wantSize;
        float wantY;
        const char* said;
    };
    const Case cases[] = {
        {"-2", "0.5", 0.01f, 0.5f, "Oops, SIZE -2 is out of range, using 0.01!\n"},
        {"0", "1", 0.01f, 1.0f, "Oops, SIZE 0 is out of range, using 0.01!\n"},
        {"1e30", "-40", 100.0f, -1.0f,
         "Oops, SIZE 1e+30 is out of range, using 100!\nOops, Y_VALUE -40 is out of range, using -1!\n"},
        {"100", "2", 100.0f, 2.0f, ""},
    };
    for (const Case& c : cases)
    {
        Plain_Entity e;
        const std::string out = Captured([&] { e.Init(0.5f, 300.0f, {"SIZE", c.size, "Y_VALUE", c.y}); });
        EXPECT_EQ(c.said, out) << c.size;
        EXPECT_FLOAT_EQ(c.wantSize, e.mSize) << c.size;
        EXPECT_FLOAT_EQ(c.wantY, e.mY) << c.size;
    }
}

TEST(Entity, NameWithoutValue)
{
    Plain_Entity e;
    std::string out = Captured([&] { e.Init(0.5f, 300.0f, {"IMAGE", "ROCK", "SIZE"}); });
    EXPECT_EQ("", out);
    EXPECT_FLOAT_EQ(1.0f, e.mSize);
    EXPECT_FALSE(e.HasAttribute("SIZE"));

    std::string value;
    out = Captured([&] { value = e.GetAttribute("SIZE"); });
    EXPECT_EQ("", value);
    EXPECT_EQ("Oops, SIZE is not an attribute!\n", out);

    out = Captured([&] { value = e.GetAttribute("VALUE"); });
    EXPECT_EQ("", value);
    EXPECT_EQ("Oops, VALUE is not an attribute!\n", out);
}

TEST(Entity, LookUpTakesTheFirstMatchingWord)
{
    // The scan does not know names from values: the first SIZE is the value of IMAGE.
    Plain_Entity e;
    std::string out = Captured([&] { e.Init(0.5f, 300.0f, {"IMAGE", "SIZE", "SIZE", "2"}); });
    EXPECT_EQ("SIZE", e.GetAttribute("SIZE"));
    EXPECT_EQ("Oops, SIZE is not a float!\n", out);
    EXPECT_FLOAT_EQ(0.0f, e.mSize);
    // Case matters.
    EXPECT_FALSE(e.HasAttribute("image"));
}

TEST(Entity, NumberParsing)
{
    std::string out = Captured(
        []
        {
            EXPECT_FLOAT_EQ(2.5f, Entity::ParseFloat("2.5abc"));
            EXPECT_FLOAT_EQ(-1500.0f, Entity::ParseFloat("  -1.5e3"));
            EXPECT_EQ(12, Entity::ParseInt("12.5"));
            EXPECT_EQ(-7, Entity::ParseInt("-7"));
            EXPECT_EQ(42, Entity::ParseInt("+42 trailing"));
        });
    EXPECT_EQ("", out);

    out = Captured(
        []
        {
            EXPECT_FLOAT_EQ(0.0f, Entity::ParseFloat(""));
            EXPECT_FLOAT_EQ(0.0f, Entity::ParseFloat("abc"));
            EXPECT_EQ(0, Entity::ParseInt(""));
            EXPECT_EQ(0, Entity::ParseInt("x12"));
            EXPECT_EQ(0, Entity::ParseInt("99999999999"));
        });
    EXPECT_EQ("Oops,  is not a float!\nOops, abc is not a float!\nOops,  is not an int!\n"
              "Oops, x12 is not an int!\nOops, 99999999999 is not an int!\n",
              out);
}

TEST(Entity, BaseBehaviour)
{
    Plain_Entity e;
    e.Init(0.5f, 300.0f, {});
    Player player;
    player.mScore = 10;
    e.Touch(player);
    e.Use(player);
    EXPECT_EQ(10, player.mScore);
    e.mScoreValue = 5;
    e.Touch(player);
    e.Use(player);
    EXPECT_EQ(20, player.mScore);

    // Without animation sets, Update only reports whether it is on screen.
    EXPECT_FALSE(e.Update(player));
    e.mOnScreen = true;
    EXPECT_TRUE(e.Update(player));

    // On screen, the current set advances one tick; a finished set stays put.
    Animation_Set set;
    set.mFrames.resize(2);
    set.mFrames[0].mDuration = 1;
    set.mFrames[1].mDuration = 1;
    set.mLoop = false;
    set.mNextSet = 1;
    e.mModel.mSets = {set, set};
    e.Update(player);
    EXPECT_EQ(1, e.mModel.mSets[0].mCurrentFrame);
    e.Update(player);
    e.Update(player);
    EXPECT_EQ(0, e.mModel.mCurrentSet);
    EXPECT_TRUE(e.mModel.mSets[0].mFinished);

    e.mSolid = false;
    e.mAlive = false;
    e.Reset();
    EXPECT_TRUE(e.mSolid && e.mAlive);
    EXPECT_FALSE(e.mOnScreen);
}
