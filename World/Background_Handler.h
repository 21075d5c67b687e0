// The corridor the runner runs through: ceiling, floor and two walls spanned between
// the camera's near and far frames, textures scrolling with the run. Also owns what
// moves the picture as a whole: earthquakes, glides of the far end, and a second
// texture layer faded in over the first.
#pragma once

#include <string>

#include "Graphics/Draw_Types.h"

class Background_Handler
{
public:
    // The corridor's images and how far a new look has faded in over them: what a
    // checkpoint keeps so a respawn shows the cave the player saw there.
    struct Look
    {
        std::string mCeiling = "CEILING", mFloor = "FLOOR", mWall = "WALL";
        std::string mOverlayCeiling, mOverlayFloor, mOverlayWall;
        float mFadeStart = 0.0f, mFadeAlpha = 0.0f, mFadeTarget = 1.0f, mFadeStep = 0.0f, mFadeFrames = 0.0f;
    };

    Background_Handler() { Init(); }

    void Init();
    void Reset(); // Init, then both glides back to 0 over 100 frames
    void SetCeiling(const std::string& key) { mCeiling = key; }
    void SetFloor(const std::string& key) { mFloor = key; }
    void SetWall(const std::string& key) { mWall = key; }
    void SetOverlayCeiling(const std::string& key) { mOverlayCeiling = key; }
    void SetOverlayFloor(const std::string& key) { mOverlayFloor = key; }
    void SetOverlayWall(const std::string& key) { mOverlayWall = key; }
    void SetTint(float r, float g, float b, float a);
    void StartEarthquake(int frames, float strength);
    void SetShiftX(float target, int frames);
    void SetShiftY(float target, int frames);
    void CentreShift(int frames);
    void StartFade(float alpha, int frames);
    Look GetLook() const;
    void SetLook(const Look& look);
    // panic: the HUD's panic level; past a threshold the cave shakes now and then.
    void Update(float panic);
    void Draw();

    std::string mCeiling, mFloor, mWall;
    std::string mOverlayCeiling, mOverlayFloor, mOverlayWall;
    float mTint[4];
    float mShiftXStart, mShiftX, mShiftXTarget;
    float mShiftYStart, mShiftY, mShiftYTarget;
    float mShiftXStep, mShiftXFrames;
    float mShiftYStep, mShiftYFrames;
    bool mQuakeActive;
    int mQuakeFrames;
    int mQuakeStep;
    float mQuakeAmplitude;
    float mFadeStart, mFadeAlpha, mFadeTarget;
    float mFadeStep, mFadeFrames;

private:
    // With over keys, each face shows its over image laid at the fade's alpha on its own.
    void DrawCorridor(const std::string& ceiling, const std::string& floor, const std::string& wall,
                      const std::string* overCeiling = nullptr, const std::string* overFloor = nullptr,
                      const std::string* overWall = nullptr);
    void DrawFace(const Quad& quad, const Texture_Rect& rect, const std::string& key,
                  const std::string* over);
};

extern Background_Handler gBackground;
