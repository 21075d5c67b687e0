// Plain drawing records handed to Graphics. They build themselves and hold floats;
// nothing here talks to OpenGL.
#pragma once

// A rectangle in the screen plane: size, centre and four corners
// (top-left, bottom-left, bottom-right, top-right), each corner x, y, z.
struct Quad
{
    float mWidth, mHeight;
    float mX, mY, mZ;
    float mTopLeft[3];
    float mBottomLeft[3];
    float mBottomRight[3];
    float mTopRight[3];

    // The empty quad: everything 0 except every depth at -2.0.
    Quad();
    // A quad centred on (x, y) at depth z.
    Quad(float x, float y, float z, float width, float height);
};

// Texture coordinates of the top-left (left, top) and bottom-right (right, bottom) corners.
struct Texture_Rect
{
    float mLeft = 0.0f, mTop = 0.0f, mRight = 1.0f, mBottom = 1.0f;

    Texture_Rect() = default; // the full image
    Texture_Rect(float left, float top, float right, float bottom)
        : mLeft(left), mTop(top), mRight(right), mBottom(bottom)
    {
    }
    // From a pixel rectangle of an image of the given pixel size.
    static Texture_Rect FromPixels(float left, float top, float right, float bottom, float pixelWidth,
                                   float pixelHeight);
};

struct Rotation
{
    float mAngle = 0.0f; // degrees
    float mAxisX = 0.0f, mAxisY = 0.0f, mAxisZ = 1.0f;
    float mPivotX = 0.0f, mPivotY = 0.0f, mPivotZ = 0.0f;
    bool mAboutCentre = true; // rotate about the quad's centre instead of the pivot

    void Set(float angle, float axisX, float axisY, float axisZ);
};

struct Scale
{
    float mX = 1.0f, mY = 1.0f, mZ = 1.0f;

    void Set(float x, float y, float z);
};

struct Tint
{
    float mR = 0.0f, mG = 0.0f, mB = 0.0f, mA = 1.0f; // black, opaque
    bool mEnabled = false;

    // Alpha first, as every colour the game hands to Graphics; also enables the tint.
    void Set(float a, float r, float g, float b);
};

// Fractions of the screen (across from the left, down from the top, 0 to 1) as sizes and
// positions in the screen plane the quads above are drawn in.
float FractionToWidth(float f);
float FractionToHeight(float f);
float FractionToScreenX(float f);
float FractionToScreenY(float f);
