#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Entities/Player.h"
#include "World/Camera.h"
#include "World/Entity.h"
#include "World/Entity_Handler.h"

namespace
{
int gDestroyed = 0;
int gOverlayDraws = 0;

class Marker : public Entity
{
public:
    explicit Marker(float z, bool overlay = false)
    {
        mInOverlayList = overlay;
        Init(0.5f, z, {});
    }
    ~Marker() override { ++gDestroyed; }
    void Setup() override {}
    void DrawOverlay() override { ++gOverlayDraws; }
    bool Update(Player& player) override
    {
        ++mUpdates;
        return Entity::Update(player);
    }
    int mUpdates = 0;
};

class EntityHandlerTest : public testing::Test
{
protected:
    void SetUp() override { gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 500.0f); }

    Marker* Add(float z, bool overlay = false)
    {
        Marker* m = new Marker(z, overlay);
        handler.GetEntities().emplace_back(m);
        if (overlay)
            handler.GetOverlay().push_back(m);
        return m;
    }
    // One frame with the camera at the given position; returns what was printed.
    std::string Frame(float position)
    {
        gCamera.SetPosition(position);
        testing::internal::CaptureStdout();
        handler.Update(player);
        return testing::internal::GetCapturedStdout();
    }

    Entity_Handler handler;
    Player player;
};
} // namespace

TEST_F(EntityHandlerTest, WindowEdgesAreInclusive)
{
    Marker* a = Add(800.0f);
    Marker* b = Add(801.0f);
    handler.ResetWindow();

    // Far edge = position + 500: exactly at it enters, beyond it waits.
    Frame(299.0f);
    EXPECT_EQ(0u, handler.GetLastIndex());
    Frame(300.0f);
    EXPECT_TRUE(a->mOnScreen);
    EXPECT_FALSE(b->mOnScreen);
    EXPECT_EQ(1u, handler.GetLastIndex());
    Frame(301.0f);
    EXPECT_TRUE(b->mOnScreen);
    EXPECT_EQ(2, handler.GetLastOnScreen() - handler.GetFirstOnScreen());

    // Leaves once it lies 5 behind the near edge (position - 1): at 806 exactly.
    Frame(805.5f);
    EXPECT_TRUE(a->mOnScreen);
    EXPECT_EQ(0u, handler.GetFirstIndex());
    Frame(806.0f);
    EXPECT_FALSE(a->mOnScreen);
    EXPECT_EQ(1u, handler.GetFirstIndex());
    EXPECT_FALSE(handler.IsLevelPassed());

    Frame(807.0f);
    EXPECT_FALSE(b->mOnScreen);
    EXPECT_TRUE(handler.IsLevelPassed());

    // Once passed, later frames change nothing.
    a->mOnScreen = true;
    int updates = a->mUpdates;
    EXPECT_EQ("", Frame(2000.0f));
    EXPECT_TRUE(a->mOnScreen);
    EXPECT_EQ(updates, a->mUpdates);
}

TEST_F(EntityHandlerTest, EverythingBeyondTheFarEdge)
{
    Marker* a = Add(5000.0f, true);
    handler.ResetWindow();
    Frame(300.0f);
    EXPECT_EQ(handler.GetFirstOnScreen(), handler.GetLastOnScreen());
    EXPECT_EQ(0, a->mUpdates);
    EXPECT_FALSE(handler.IsLevelPassed());

    // Overlay entities are drawn whatever the window says.
    gOverlayDraws = 0;
    handler.DrawEntities(&player);
    EXPECT_EQ(1, gOverlayDraws);
}

TEST_F(EntityHandlerTest, ActiveCountFollowsListOrder)
{
    Marker* a = Add(500.0f);
    Marker* b = Add(510.0f);
    Marker* c = Add(520.0f);
    handler.ResetWindow();
    EXPECT_EQ(3, handler.GetActiveCount());
    EXPECT_EQ("", Frame(300.0f));

    // The second leaves play first: not counted while the first is still in it.
    b->mOnScreen = false;
    EXPECT_EQ("", Frame(300.0f));
    EXPECT_FALSE(b->mAlive);
    EXPECT_EQ("", Frame(300.0f));
    EXPECT_EQ(3, handler.GetActiveCount());

    a->mOnScreen = false;
    Frame(300.0f);
    EXPECT_EQ("3 entities, 2 active.\n3 entities, 1 active.\n", Frame(300.0f));
    EXPECT_EQ(1, handler.GetActiveCount());
    EXPECT_TRUE(c->mAlive);

    // Dead entities are not updated any more; live ones are, even behind the window.
    int bUpdates = b->mUpdates;
    int cUpdates = c->mUpdates;
    Frame(300.0f);
    EXPECT_EQ(bUpdates, b->mUpdates);
    EXPECT_EQ(cUpdates + 1, c->mUpdates);
}

TEST_F(EntityHandlerTest, RestartKeepsTheSameObjects)
{
    Marker* a = Add(400.0f);
    Marker* b = Add(450.0f);
    handler.ResetWindow();
    Frame(300.0f);
    Frame(1000.0f);
    Frame(1000.0f);
    a->mSolid = false;
    ASSERT_FALSE(a->mAlive);
    ASSERT_TRUE(handler.IsLevelPassed());

    handler.ResetAll();
    handler.ResetWindow();
    ASSERT_EQ(2u, handler.GetEntities().size());
    EXPECT_EQ(a, handler.GetEntities()[0].get());
    EXPECT_EQ(b, handler.GetEntities()[1].get());
    for (const std::unique_ptr<Entity>& e : handler.GetEntities())
    {
        EXPECT_TRUE(e->mSolid);
        EXPECT_TRUE(e->mAlive);
        EXPECT_FALSE(e->mOnScreen);
    }
    EXPECT_EQ(2, handler.GetActiveCount());
    EXPECT_FALSE(handler.IsLevelPassed());
    Frame(0.0f);
    EXPECT_TRUE(a->mOnScreen && b->mOnScreen);
}

TEST_F(EntityHandlerTest, EmptyAndUnsetLists)
{
    EXPECT_EQ(Entity_Handler::EMPTY_LEVEL_LENGTH, handler.GetLastZ());
    EXPECT_GT(handler.GetLastZ(), 0.0f);
    EXPECT_EQ("Error: There's nothing in the entity list!\n", Frame(300.0f));

    Add(350.0f);
    Add(420.0f);
    EXPECT_FLOAT_EQ(420.0f, handler.GetLastZ());
    // Loaded but the window never rewound.
    EXPECT_EQ("Error: mFirstOnScreen/mLastOnScreen is NULL\n", Frame(300.0f));
    EXPECT_EQ(nullptr, handler.GetFirstOnScreen());

    gDestroyed = 0;
    handler.Clear();
    EXPECT_EQ(2, gDestroyed);
    EXPECT_TRUE(handler.GetEntities().empty());
    EXPECT_TRUE(handler.GetOverlay().empty());
    EXPECT_EQ(Entity_Handler::EMPTY_LEVEL_LENGTH, handler.GetLastZ());
}

// The runner goes in once among the things it has reached, and not at all when a screen
// draws it elsewhere.
TEST_F(EntityHandlerTest, RunnerDrawnOnceInFrontOfWhatItReached)
{
    struct Counting_Runner : Drawn_Runner
    {
        bool HasReached(const Entity& e) const override { return e.mZ <= 320.0f; }
        void Draw() override { ++mDraws; }
        int mDraws = 0;
    } runner;
    Add(310.0f);
    Add(320.0f);
    Add(330.0f);
    handler.ResetWindow();
    Frame(0.0f);
    handler.DrawEntities(&runner);
    EXPECT_EQ(1, runner.mDraws);

    handler.DrawEntities(nullptr);
    EXPECT_EQ(1, runner.mDraws);
}
