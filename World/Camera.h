// Turns positions along the corridor into screen quads. x runs across the corridor
// (0 one wall, 1 the other), y down it (0 ceiling, 1 floor), z along the run. Depth
// between the near and far edges maps linearly onto screen depth 0 to -100, and the
// cross-section at any depth is interpolated between the near and far frames.
#pragma once

#include "Graphics/Draw_Types.h"

struct Frame_Rect
{
    float mLeft, mRight, mBottom, mTop;
};

class Camera
{
public:
    Camera();

    void Init(float origin, float length, float position, float back, float ahead);
    void Reset(); // both frames back to the full screen plane
    void SetPosition(float z) { mPosition = z; }
    float GetNearZ() const { return mPosition - mBack; }
    float GetFarZ() const { return mPosition + mAhead; }

    Quad ProjectBox(float x, float y, float width, float height, float z) const;
    float GetDepthFactor(float z) const;
    Quad GetNearQuad() const;
    Quad GetFarQuad() const;
    float GetTextureNear() const;
    float GetTextureFar() const;
    void ShiftFarFrameX(float d);
    void ShiftFarFrameY(float d);
    const Frame_Rect& GetNearFrame() const { return mNearFrame; }
    const Frame_Rect& GetFarFrame() const { return mFarFrame; }

    // Half the width of the window at a screen depth (0 at the screen plane, negative
    // into the picture); 0 for a depth at or behind the eye.
    static float GetVisibleHalfWidth(float depth);

private:
    float DepthFraction(float z) const;

    float mBack = 1.0f, mAhead = 1000.0f, mPosition = 0.0f, mOrigin = 0.0f;
    Frame_Rect mNearFrame, mFarFrame;
};

extern Camera gCamera;
