#include "Graphics/Draw_Types.h"

#include "Core/Constants.h"

namespace
{

void SetCorner(float* corner, float x, float y, float z)
{
    corner[0] = x;
    corner[1] = y;
    corner[2] = z;
}

} // namespace

Quad::Quad() : mWidth(0.0f), mHeight(0.0f), mX(0.0f), mY(0.0f), mZ(-2.0f)
{
    SetCorner(mTopLeft, 0.0f, 0.0f, -2.0f);
    SetCorner(mBottomLeft, 0.0f, 0.0f, -2.0f);
    SetCorner(mBottomRight, 0.0f, 0.0f, -2.0f);
    SetCorner(mTopRight, 0.0f, 0.0f, -2.0f);
}

Quad::Quad(float x, float y, float z, float width, float height)
    : mWidth(width), mHeight(height), mX(x), mY(y), mZ(z)
{
    const float halfW = width / 2.0f;
    const float halfH = height / 2.0f;
    SetCorner(mTopLeft, x - halfW, y + halfH, z);
    SetCorner(mBottomLeft, x - halfW, y - halfH, z);
    SetCorner(mBottomRight, x + halfW, y - halfH, z);
    SetCorner(mTopRight, x + halfW, y + halfH, z);
}

Texture_Rect Texture_Rect::FromPixels(float left, float top, float right, float bottom, float pixelWidth,
                                      float pixelHeight)
{
    return Texture_Rect(left / pixelWidth, top / pixelHeight, right / pixelWidth, bottom / pixelHeight);
}

void Rotation::Set(float angle, float axisX, float axisY, float axisZ)
{
    mAngle = angle;
    mAxisX = axisX;
    mAxisY = axisY;
    mAxisZ = axisZ;
}

void Scale::Set(float x, float y, float z)
{
    mX = x;
    mY = y;
    mZ = z;
}

void Tint::Set(float a, float r, float g, float b)
{
    mA = a;
    mR = r;
    mG = g;
    mB = b;
    mEnabled = true;
}

float FractionToWidth(float f)
{
    return f * SCREEN_PLANE_WIDTH;
}

float FractionToHeight(float f)
{
    return f * SCREEN_PLANE_HEIGHT;
}

float FractionToScreenX(float f)
{
    return f * SCREEN_PLANE_WIDTH - SCREEN_PLANE_HALF_WIDTH;
}

float FractionToScreenY(float f)
{
    return 1.0f - f * SCREEN_PLANE_HEIGHT;
}
