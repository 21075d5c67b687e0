#include <gtest/gtest.h>

#include <cmath>

#include "World/Camera.h"

namespace
{

const float EPS = 1e-4f;

class CameraTest : public ::testing::Test
{
protected:
    void SetUp() override { mCamera.Init(0.0f, 5000.0f, 0.0f, 1.0f, 500.0f); }
    Camera mCamera;
};

TEST_F(CameraTest, EdgesFollowThePosition)
{
    mCamera.SetPosition(1234.5f);
    EXPECT_FLOAT_EQ(mCamera.GetNearZ(), 1233.5f);
    EXPECT_FLOAT_EQ(mCamera.GetFarZ(), 1734.5f);
}

TEST_F(CameraTest, DepthRunsFromNearToFarEdge)
{
    mCamera.SetPosition(300.0f);
    EXPECT_NEAR(mCamera.ProjectBox(0.5f, 0.5f, 0.1f, 0.1f, mCamera.GetNearZ()).mZ, 0.0f, EPS);
    EXPECT_NEAR(mCamera.ProjectBox(0.5f, 0.5f, 0.1f, 0.1f, mCamera.GetFarZ()).mZ, -100.0f, EPS);
    EXPECT_NEAR(mCamera.ProjectBox(0.5f, 0.5f, 0.1f, 0.1f, 299.0f + 250.5f).mZ, -50.0f, EPS);
    // Behind the near edge nothing clamps: the depth turns positive.
    EXPECT_GT(mCamera.ProjectBox(0.5f, 0.5f, 0.1f, 0.1f, 200.0f).mZ, 0.0f);
}

TEST_F(CameraTest, BoxesSitBetweenWallsCeilingAndFloor)
{
    mCamera.SetPosition(300.0f);
    for (float z : {299.0f, 400.0f, 799.0f})
    {
        for (float width : {0.0f, 0.1f, 0.4f})
        {
            const Quad centred = mCamera.ProjectBox(0.5f, 1.0f, width, 0.2f, z);
            EXPECT_NEAR(centred.mX, 0.0f, EPS);
            EXPECT_NEAR(centred.mWidth, width * 3.5f, EPS);
            EXPECT_NEAR(centred.mHeight, 0.4f, EPS);
            // Standing on the floor: its bottom edge on the floor line.
            EXPECT_NEAR(centred.mBottomLeft[1], -1.0f, EPS);
            EXPECT_NEAR(centred.mBottomRight[1], -1.0f, EPS);

            // Against the left wall, hanging from the ceiling.
            const Quad corner = mCamera.ProjectBox(0.0f, 0.0f, width, 0.2f, z);
            EXPECT_NEAR(corner.mTopLeft[0], -1.75f, EPS);
            EXPECT_NEAR(corner.mTopLeft[1], 1.0f, EPS);
            // Against the right wall.
            const Quad right = mCamera.ProjectBox(1.0f, 0.5f, width, 0.2f, z);
            EXPECT_NEAR(right.mTopRight[0], 1.75f, EPS);
        }
    }
}

TEST_F(CameraTest, FarFrameShiftMovesBoxesByTheirDepth)
{
    mCamera.SetPosition(300.0f);
    const float midZ = 299.0f + 250.5f; // depth fraction 0.5
    const Quad before = mCamera.ProjectBox(0.3f, 0.7f, 0.1f, 0.1f, midZ);

    mCamera.ShiftFarFrameX(0.2f);
    mCamera.ShiftFarFrameY(-0.4f);
    const Quad far = mCamera.GetFarQuad();
    EXPECT_NEAR(far.mTopLeft[0], -1.55f, EPS);
    EXPECT_NEAR(far.mTopLeft[1], 0.6f, EPS);
    EXPECT_NEAR(far.mBottomRight[0], 1.95f, EPS);
    EXPECT_NEAR(far.mBottomRight[1], -1.4f, EPS);
    EXPECT_NEAR(far.mBottomRight[2], -100.0f, EPS);
    // The near frame stays where it is.
    EXPECT_NEAR(mCamera.GetNearQuad().mTopLeft[0], -1.75f, EPS);
    EXPECT_NEAR(mCamera.GetNearQuad().mTopLeft[2], 0.0f, EPS);

    const Quad shifted = mCamera.ProjectBox(0.3f, 0.7f, 0.1f, 0.1f, midZ);
    EXPECT_NEAR(shifted.mX - before.mX, 0.1f, EPS);
    EXPECT_NEAR(shifted.mY - before.mY, -0.2f, EPS);

    mCamera.Reset();
    const Quad back = mCamera.ProjectBox(0.3f, 0.7f, 0.1f, 0.1f, midZ);
    EXPECT_NEAR(back.mX, before.mX, EPS);
    EXPECT_NEAR(back.mY, before.mY, EPS);
    EXPECT_NEAR(mCamera.GetFarQuad().mTopLeft[0], -1.75f, EPS);
}

TEST_F(CameraTest, FrameQuadsSpanTheCorridorInCornerOrder)
{
    const Quad nearQuad = mCamera.GetNearQuad();
    const float expected[4][3] = {
        {-1.75f, 1.0f, 0.0f}, {-1.75f, -1.0f, 0.0f}, {1.75f, -1.0f, 0.0f}, {1.75f, 1.0f, 0.0f}};
    const float* corners[4] = {nearQuad.mTopLeft, nearQuad.mBottomLeft, nearQuad.mBottomRight,
                               nearQuad.mTopRight};
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(corners[c][i], expected[c][i]) << "corner " << c << " axis " << i;
}

TEST_F(CameraTest, TexturesSlideTowardsTheViewer)
{
    mCamera.SetPosition(1.0f); // near edge at the origin
    EXPECT_NEAR(mCamera.GetTextureNear(), 0.0f, EPS);
    EXPECT_NEAR(mCamera.GetTextureFar(), -100.0f / 15.0f, EPS);

    mCamera.SetPosition(51.1f); // a tenth of the view further on
    EXPECT_NEAR(mCamera.GetTextureNear(), -100.0f * 50.1f / (501.0f * 15.0f), EPS);
    EXPECT_NEAR(mCamera.GetTextureNear() - mCamera.GetTextureFar(), 100.0f / 15.0f, EPS);
}

TEST_F(CameraTest, DepthFactorSpansFloorToCeilingWithTheFrames)
{
    mCamera.SetPosition(300.0f);
    EXPECT_NEAR(mCamera.GetDepthFactor(299.0f), -1.0f, EPS);
    EXPECT_NEAR(mCamera.GetDepthFactor(800.0f), 1.0f, EPS);
    EXPECT_NEAR(mCamera.GetDepthFactor(299.0f + 125.25f), -0.5f, EPS);

    mCamera.ShiftFarFrameY(0.5f);
    // t = 0.5: bottom -0.75, top 1.25, so -0.75 + 0.5 * 2.0
    EXPECT_NEAR(mCamera.GetDepthFactor(299.0f + 250.5f), 0.25f, EPS);
}

TEST(CameraEmpty, UnsetOrEmptyViewGivesFinitePositions)
{
    Camera unset;
    Quad q = unset.ProjectBox(0.5f, 0.5f, 0.1f, 0.1f, 100.0f);
    EXPECT_TRUE(std::isfinite(q.mX) && std::isfinite(q.mY) && std::isfinite(q.mZ));

    Camera empty;
    empty.Init(0.0f, 0.0f, 10.0f, 0.0f, 0.0f);
    q = empty.ProjectBox(0.5f, 0.5f, 0.1f, 0.1f, 100.0f);
    EXPECT_TRUE(std::isfinite(q.mX) && std::isfinite(q.mY) && std::isfinite(q.mZ));
    EXPECT_TRUE(std::isfinite(empty.GetTextureNear()));
    EXPECT_TRUE(std::isfinite(empty.GetDepthFactor(5.0f)));
}

} // namespace
