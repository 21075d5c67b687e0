#include "World/Camera.h"

#include <cmath>

#include "Graphics/Draw_Types.h"

#include "Core/Constants.h"

Camera gCamera;

namespace
{

const float NEAR_DEPTH = 0.0f;
const float FAR_DEPTH = -100.0f;
const float TILE_LENGTH = 15.0f;

const Frame_Rect DEFAULT_FRAME = {-SCREEN_PLANE_HALF_WIDTH, SCREEN_PLANE_HALF_WIDTH, -1.0f, 1.0f};

float Lerp(float a, float b, float t)
{
    return a + t * (b - a);
}

Quad FrameQuad(const Frame_Rect& frame, float depth)
{
    Quad quad;
    const float topLeft[3] = {frame.mLeft, frame.mTop, depth};
    const float bottomLeft[3] = {frame.mLeft, frame.mBottom, depth};
    const float bottomRight[3] = {frame.mRight, frame.mBottom, depth};
    const float topRight[3] = {frame.mRight, frame.mTop, depth};
    for (int i = 0; i < 3; ++i)
    {
        quad.mTopLeft[i] = topLeft[i];
        quad.mBottomLeft[i] = bottomLeft[i];
        quad.mBottomRight[i] = bottomRight[i];
        quad.mTopRight[i] = topRight[i];
    }
    return quad;
}

} // namespace

Camera::Camera() : mNearFrame(DEFAULT_FRAME), mFarFrame(DEFAULT_FRAME) {}

void Camera::Init(float origin, float /*length*/, float position, float back, float ahead)
{
    mOrigin = origin;
    mPosition = position;
    mBack = back;
    mAhead = ahead;
    Reset();
}

void Camera::Reset()
{
    mNearFrame = DEFAULT_FRAME;
    mFarFrame = DEFAULT_FRAME;
}

float Camera::DepthFraction(float z) const
{
    // An empty view (back and ahead both 0) would turn every position into NaN.
    const float length = GetFarZ() - GetNearZ();
    if (length == 0.0f)
        return 0.0f;
    return (z - GetNearZ()) / length;
}

Quad Camera::ProjectBox(float x, float y, float width, float height, float z) const
{
    const float w = FractionToWidth(width);
    const float h = FractionToHeight(height);
    const float t = DepthFraction(z);

    // The cross-section at this depth, shrunk by half the box on every side, is the
    // range the box's centre can take between the walls, ceiling and floor.
    const float left = Lerp(mNearFrame.mLeft, mFarFrame.mLeft, t) + w / 2.0f;
    const float right = Lerp(mNearFrame.mRight, mFarFrame.mRight, t) - w / 2.0f;
    const float top = Lerp(mNearFrame.mTop, mFarFrame.mTop, t) - h / 2.0f;
    const float bottom = Lerp(mNearFrame.mBottom, mFarFrame.mBottom, t) + h / 2.0f;

    const float cx = left + (right - left) * x;
    const float cy = top + (bottom - top) * y;
    const float cz = FAR_DEPTH * t;
    return Quad(cx, cy, cz, w, h);
}

float Camera::GetVisibleHalfWidth(float depth)
{
    static const float slope = std::tan(VIEW_FIELD_OF_VIEW * 0.5f * static_cast<float>(M_PI) / 180.0f) *
                               static_cast<float>(SCREEN_WIDTH) / static_cast<float>(SCREEN_HEIGHT);
    return depth < VIEW_EYE_Z ? (VIEW_EYE_Z - depth) * slope : 0.0f;
}

float Camera::GetDepthFactor(float z) const
{
    const float t = DepthFraction(z);
    const float bottom = Lerp(mNearFrame.mBottom, mFarFrame.mBottom, t);
    const float top = Lerp(mNearFrame.mTop, mFarFrame.mTop, t);
    return bottom + t * (top - bottom);
}

Quad Camera::GetNearQuad() const
{
    return FrameQuad(mNearFrame, NEAR_DEPTH);
}

Quad Camera::GetFarQuad() const
{
    return FrameQuad(mFarFrame, FAR_DEPTH);
}

float Camera::GetTextureNear() const
{
    const float length = GetFarZ() - GetNearZ();
    if (length == 0.0f)
        return 0.0f;
    return 100.0f * (mOrigin - GetNearZ()) / (length * TILE_LENGTH);
}

float Camera::GetTextureFar() const
{
    return GetTextureNear() - 100.0f / TILE_LENGTH;
}

void Camera::ShiftFarFrameX(float d)
{
    mFarFrame.mLeft += d;
    mFarFrame.mRight += d;
}

void Camera::ShiftFarFrameY(float d)
{
    mFarFrame.mBottom += d;
    mFarFrame.mTop += d;
}
