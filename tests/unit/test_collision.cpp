#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Core/Globals.h"
#include "Entities/Boulder.h"
#include "Entities/Collision.h"
#include "Entities/Player.h"
#include "Graphics/Image_Bank.h"
#include "Input/Input_Handler.h"
#include "Level/Entity_Types.h"
#include "World/Camera.h"
#include "World/Entity.h"

namespace
{
std::vector<int> gTouched;

// Sizes chosen so every projected edge is exact in binary: the runner spans screen x
// -0.875..0.875 and y -1..0; a block at x 1.0 starts exactly at 0.875, one hung at
// y 0.0 ends exactly at 0.
class Block : public Entity
{
public:
    Block(int id, float x, float y, float z, float margin = 0.0f) : mId(id), mMargin(margin)
    {
        Init(x, z, {});
        mY = y;
        mHalfWidth = 0.125f;
        mHalfHeight = 0.25f;
    }
    void Setup() override {}
    void Touch(Player&) override { gTouched.push_back(mId); }
    float GetCollisionMargin() const override { return mMargin; }
    int mId;
    float mMargin;
};

class CollisionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gTouched.clear();
        gCamera.Init(0.0f, 1000.0f, 300.0f, 1.0f, 500.0f);
        player.mX = 0.5f;
        player.mY = 1.0f;
        player.mZ = 300.0f;
        player.mSpeed = 1.0f;
        player.mHalfWidth = 0.25f;
        player.mHalfHeight = 0.25f;
    }
    std::vector<int> Check(std::vector<Block>& blocks)
    {
        // The blocks are the test's: lent to the list and taken back before it goes.
        std::vector<std::unique_ptr<Entity>> list;
        for (Block& b : blocks)
            list.emplace_back(&b);
        gTouched.clear();
        CheckCollisions(player, list.data(), list.data() + list.size());
        for (std::unique_ptr<Entity>& e : list)
            e.release();
        return gTouched;
    }
    Player player;
};
} // namespace

TEST_F(CollisionTest, OnlyTheSlabAheadIsTested)
{
    std::vector<Block> blocks = {Block(1, 0.5f, 1.0f, 299.99f), Block(2, 0.5f, 1.0f, 300.0f),
                                 Block(3, 0.5f, 1.0f, 300.5f), Block(4, 0.5f, 1.0f, 301.0f),
                                 Block(5, 0.5f, 1.0f, 301.01f)};
    EXPECT_EQ((std::vector<int>{2, 3, 4}), Check(blocks));

    // Knocked back: the slab is empty, even right where the runner stands.
    player.mSpeed = -0.5f;
    EXPECT_TRUE(Check(blocks).empty());
    player.mSpeed = 0.0f;
    EXPECT_EQ((std::vector<int>{2}), Check(blocks));

    // Blocks that are no longer solid are passed through.
    player.mSpeed = 1.0f;
    blocks[1].mSolid = false;
    blocks[2].mSolid = false;
    EXPECT_EQ((std::vector<int>{4}), Check(blocks));
}

TEST_F(CollisionTest, SharedEdgesDoNotTouch)
{
    std::vector<Block> right = {Block(1, 1.0f, 1.0f, 300.5f)};
    EXPECT_TRUE(Check(right).empty());
    std::vector<Block> above = {Block(1, 0.5f, 0.0f, 300.5f)};
    EXPECT_TRUE(Check(above).empty());
    std::vector<Block> inside = {Block(1, 0.99f, 1.0f, 300.5f), Block(2, 0.5f, 0.01f, 300.5f)};
    EXPECT_EQ((std::vector<int>{1, 2}), Check(inside));

    // The runner jumping clears a block on the floor beside it only by height.
    player.mY = 0.0f;
    std::vector<Block> floor = {Block(1, 0.5f, 1.0f, 300.5f)};
    EXPECT_TRUE(Check(floor).empty());
}

TEST_F(CollisionTest, MarginShrinksOrGrowsTheRunner)
{
    // Overlapping by 0.075 on screen.
    std::vector<Block> near = {Block(1, 0.9714286f, 1.0f, 300.5f, 0.1f)};
    EXPECT_TRUE(Check(near).empty());
    near[0].mMargin = 0.05f;
    EXPECT_EQ((std::vector<int>{1}), Check(near));

    // Just touching edges meet once the margin is negative.
    std::vector<Block> edge = {Block(1, 1.0f, 1.0f, 300.5f, -0.01f)};
    EXPECT_EQ((std::vector<int>{1}), Check(edge));
}

TEST_F(CollisionTest, TouchesGoThroughTheRunner)
{
    std::vector<Block> blocks = {Block(1, 0.5f, 1.0f, 300.2f), Block(2, 0.5f, 1.0f, 300.4f)};
    blocks[0].mHoldable = true;
    blocks[1].mVanishOnTouch = true;
    blocks[1].mOnScreen = true;
    // The held item is picked up, not touched; the other vanishes from the screen.
    EXPECT_EQ((std::vector<int>{2}), Check(blocks));
    EXPECT_EQ(&blocks[0], player.mHeldItem);
    EXPECT_FALSE(blocks[1].mOnScreen);

    // An empty window.
    gTouched.clear();
    CheckCollisions(player, nullptr, nullptr);
    EXPECT_TRUE(gTouched.empty());
}

// Boulders roll 0.1 a frame toward the runner: tested only over the runner's own
// step, one in ten slipped between two frames' tests. A boulder as tall as the
// corridor, kept in the runner's lane, must hit it whatever its starting phase.
TEST_F(CollisionTest, BouldersInTheLaneNeverSlipPast)
{
    Image_Entry& image = gImageBank.GetImage("BOULDER_1");
    image.mHalfWidthFraction = 0.1f;
    image.mHalfHeightFraction = 0.5f;
    gKeyboardControl = false;
    gMouseControl = false;
    Input_Handler input;
    for (float speed : {1.0f, 2.5f, 0.3f})
    {
        int missed = 0;
        for (int k = 0; k < 200; ++k)
        {
            std::unique_ptr<Entity> boulder(CreateEntity(18));
            boulder->Init(0.5f, 330.0f + k * 0.0137f, {});
            boulder->Setup();
            static_cast<Boulder&>(*boulder).mSpeedX = 0.0f;
            Player p;
            p.Reset();
            p.mHalfWidth = 0.1f;
            p.mHalfHeight = 0.1f;
            p.SetSpeed(speed);
            bool hit = false;
            while (!hit && boulder->mZ > p.mZ - 5.0f)
            {
                p.Update(input);
                gCamera.SetPosition(p.mZ);
                boulder->Update(p);
                CheckCollisions(p, &boulder, &boulder + 1);
                hit = p.mHitThisFrame;
            }
            if (!hit)
                ++missed;
        }
        EXPECT_EQ(missed, 0) << "at speed " << speed;
    }
}

// A boost lifts the runner from 1.0 to 2.5 at once: what lay between the last
// frame's test and where the runner now stands must still be met.
TEST_F(CollisionTest, SpeedingUpSkipsNothing)
{
    gKeyboardControl = false;
    gMouseControl = false;
    Input_Handler input;
    int missed = 0;
    for (int k = 0; k < 100; ++k)
    {
        std::unique_ptr<Entity> block(new Block(1, 0.5f, 1.0f, 310.0f + k * 0.031f));
        Player p;
        p.Reset();
        p.mHalfWidth = 0.25f;
        p.mHalfHeight = 0.25f;
        gTouched.clear();
        for (int frame = 0; frame < 20 && gTouched.empty(); ++frame)
        {
            if (frame == 8)
                p.SetSpeed(2.5f);
            p.Update(input);
            gCamera.SetPosition(p.mZ);
            CheckCollisions(p, &block, &block + 1);
        }
        if (gTouched.empty())
            ++missed;
    }
    EXPECT_EQ(missed, 0);
}
