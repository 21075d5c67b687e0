// Ghost touches: touches in which no opaque pixel of the runner's picture overlaps an
// opaque pixel of the obstacle's, in the frame of the touch. Each touch the game
// reports (the collision check's watcher) is drawn again in software: both pictures are
// placed as the game draws them (their box, then the frame, set and animation turns
// and scales about its centre) and projected into the 800 by 600 window as the game's
// camera does; the runner's opaque texels are marked, then the obstacle's are looked up.
// The camera's turns apply to both alike and are left out. Pictures are read from the
// image list's files once. Used by the level tools, headless.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Core/Constants.h"
#include "Entities/Boulder.h"
#include "Entities/Collision.h"
#include "Entities/Hole.h"
#include "Entities/Player.h"
#include "Entities/Rock.h"
#include "Entities/Spike.h"
#include "Entities/Stalactite.h"
#include "Graphics/Animation.h"
#include "Graphics/Image_Bank.h"
#include "World/Camera.h"
#include "World/Entity.h"

namespace ghost_touch
{

const int WIDTH = 800, HEIGHT = 600;
const uint8_t OPAQUE = 128; // alpha from which a texel counts as drawn
const char* const TYPES[] = {"Boulder", "Rock", "Spike", "Stalactite", "Hole"};
const int TYPE_COUNT = 5;

struct Tally
{
    long mTouches[TYPE_COUNT] = {0, 0, 0, 0, 0};
    long mGhosts[TYPE_COUNT] = {0, 0, 0, 0, 0};
};
inline Tally gTally;

struct Mask
{
    int mWidth = 0, mHeight = 0;
    std::vector<uint8_t> mAlpha; // top row first
    bool Opaque(float s, float t) const
    {
        if (mWidth == 0 || s < 0.0f || t < 0.0f || s >= 1.0f || t >= 1.0f)
            return false;
        return mAlpha[static_cast<int>(t * mHeight) * mWidth + static_cast<int>(s * mWidth)] >= OPAQUE;
    }
};

inline const Mask& MaskOf(const std::string& key)
{
    static std::map<std::string, Mask> masks;
    auto found = masks.find(key);
    if (found != masks.end())
        return found->second;
    Mask& mask = masks[key];
    const std::string path = IMAGE_PATH + gImageBank.GetImage(key).mFile;
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded)
    {
        std::fprintf(stderr, "ghost touches: cannot read %s for %s\n", path.c_str(), key.c_str());
        return mask;
    }
    SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 32, 0x000000FF, 0x0000FF00,
                                             0x00FF0000, 0xFF000000);
    SDL_SetAlpha(loaded, 0, 255);
    SDL_BlitSurface(loaded, nullptr, rgba, nullptr);
    mask.mWidth = rgba->w;
    mask.mHeight = rgba->h;
    mask.mAlpha.resize(static_cast<size_t>(rgba->w) * rgba->h);
    SDL_LockSurface(rgba);
    for (int y = 0; y < rgba->h; ++y)
        for (int x = 0; x < rgba->w; ++x)
            mask.mAlpha[y * rgba->w + x] =
                static_cast<const uint8_t*>(rgba->pixels)[y * rgba->pitch + x * 4 + 3];
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    SDL_FreeSurface(loaded);
    return mask;
}

// One turn-and-scale of a drawable, about the quad's centre (or its pivot), applied to p.
inline void Transform(const Rotation& r, const Scale& s, const Quad& q, float p[3])
{
    const float centre[3] = {q.mX, q.mY, q.mZ}, factor[3] = {s.mX, s.mY, s.mZ};
    for (int i = 0; i < 3; ++i)
        p[i] = centre[i] + (p[i] - centre[i]) * factor[i];
    const float pivot[3] = {r.mAboutCentre ? q.mX : r.mPivotX, r.mAboutCentre ? q.mY : r.mPivotY,
                            r.mAboutCentre ? q.mZ : r.mPivotZ};
    float axis[3] = {r.mAxisX, r.mAxisY, r.mAxisZ};
    const float length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    if (r.mAngle == 0.0f || length == 0.0f)
        return;
    for (float& a : axis)
        a /= length;
    const float angle = r.mAngle * static_cast<float>(M_PI) / 180.0f, c = std::cos(angle),
                sn = std::sin(angle);
    const float v[3] = {p[0] - pivot[0], p[1] - pivot[1], p[2] - pivot[2]};
    const float dot = axis[0] * v[0] + axis[1] * v[1] + axis[2] * v[2];
    const float cross[3] = {axis[1] * v[2] - axis[2] * v[1], axis[2] * v[0] - axis[0] * v[2],
                            axis[0] * v[1] - axis[1] * v[0]};
    for (int i = 0; i < 3; ++i)
        p[i] = pivot[i] + v[i] * c + cross[i] * sn + axis[i] * dot * (1.0f - c);
}

// The picture an animation shows in a box: the image's mask and where its top-left
// corner and its two edges land in the world's drawing space.
struct Placed
{
    const Mask* mMask = nullptr;
    float mCorner[3], mAcross[3], mDown[3];
};

inline Placed Place(const Animation& animation, const Quad& box)
{
    Placed placed;
    const Animation_Set& set = animation.GetCurrentSet();
    const Animation_Frame& frame = set.GetCurrentFrame();
    placed.mMask = &MaskOf(frame.mKey);
    float corners[3][3] = {{box.mX - box.mWidth / 2.0f, box.mY + box.mHeight / 2.0f, box.mZ},
                           {box.mX + box.mWidth / 2.0f, box.mY + box.mHeight / 2.0f, box.mZ},
                           {box.mX - box.mWidth / 2.0f, box.mY - box.mHeight / 2.0f, box.mZ}};
    for (float* p : corners)
    {
        Transform(frame.mRotation, frame.mScale, box, p);
        Transform(set.mRotation, set.mScale, box, p);
        Transform(animation.mRotation, animation.mScale, box, p);
    }
    for (int i = 0; i < 3; ++i)
    {
        placed.mCorner[i] = corners[0][i];
        placed.mAcross[i] = corners[1][i] - corners[0][i];
        placed.mDown[i] = corners[2][i] - corners[0][i];
    }
    return placed;
}

// Window pixel of a point of the drawing space (x right, y down from the top-left).
inline bool ToPixel(const float p[3], int& x, int& y)
{
    const double halfHeight = (VIEW_EYE_Z - p[2]) * std::tan(VIEW_FIELD_OF_VIEW * 0.5 * M_PI / 180.0);
    if (halfHeight <= 0.0)
        return false;
    x = static_cast<int>(std::floor(WIDTH / 2.0 * (1.0 + p[0] / (halfHeight * WIDTH / HEIGHT))));
    y = static_cast<int>(std::floor(HEIGHT / 2.0 * (1.0 - p[1] / halfHeight)));
    return x >= 0 && y >= 0 && x < WIDTH && y < HEIGHT;
}

// Calls back with the window pixel of every opaque texel sample, dense enough that
// neighbouring samples land at most half a pixel apart; stops when it returns true.
template <typename Visit> bool ForEachOpaquePixel(const Placed& p, Visit visit)
{
    if (!p.mMask || p.mMask->mWidth == 0)
        return false;
    auto extent = [](const float e[3], float z)
    {
        const double halfHeight = (VIEW_EYE_Z - z) * std::tan(VIEW_FIELD_OF_VIEW * 0.5 * M_PI / 180.0);
        return std::sqrt(e[0] * e[0] + e[1] * e[1]) / halfHeight * HEIGHT / 2.0 + std::fabs(e[2]) * 200.0;
    };
    const int across = std::min(4000, static_cast<int>(2.0 * extent(p.mAcross, p.mCorner[2])) + 2);
    const int down = std::min(4000, static_cast<int>(2.0 * extent(p.mDown, p.mCorner[2])) + 2);
    for (int j = 0; j < down; ++j)
        for (int i = 0; i < across; ++i)
        {
            const float s = (i + 0.5f) / across, t = (j + 0.5f) / down;
            if (!p.mMask->Opaque(s, t))
                continue;
            float point[3];
            for (int k = 0; k < 3; ++k)
                point[k] = p.mCorner[k] + p.mAcross[k] * s + p.mDown[k] * t;
            int x, y;
            if (ToPixel(point, x, y) && visit(x, y))
                return true;
        }
    return false;
}

inline int TypeOf(const Entity& e)
{
    if (dynamic_cast<const Boulder*>(&e))
        return 0;
    if (dynamic_cast<const Rock*>(&e))
        return 1;
    if (dynamic_cast<const Spike*>(&e))
        return 2;
    if (dynamic_cast<const Stalactite*>(&e))
        return 3;
    if (dynamic_cast<const Hole*>(&e))
        return 4;
    return -1;
}

// True when some opaque pixel of the runner's picture lies on one of the entity's.
inline bool PicturesOverlap(const Player& player, const Entity& e)
{
    static std::vector<uint8_t> runner(WIDTH * HEIGHT);
    std::fill(runner.begin(), runner.end(), 0);
    const Quad body = gCamera.ProjectBox(player.mX, player.mY, 2.0f * player.mHalfWidth,
                                         2.0f * player.mHalfHeight, player.mZ);
    ForEachOpaquePixel(Place(player.mAnimation, body),
                       [](int x, int y)
                       {
                           runner[y * WIDTH + x] = 1;
                           return false;
                       });
    const Quad box =
        gCamera.ProjectBox(e.mX, e.mY, 2.0f * e.mSize * e.mHalfWidth, 2.0f * e.mSize * e.mHalfHeight, e.mZ);
    return ForEachOpaquePixel(Place(e.mModel, box), [](int x, int y) { return runner[y * WIDTH + x] != 0; });
}

inline void Watch(const Player& player, const Entity& e)
{
    const int type = TypeOf(e);
    if (type < 0)
        return;
    ++gTally.mTouches[type];
    if (!PicturesOverlap(player, e))
        ++gTally.mGhosts[type];
}

// Counts every touch from now on.
inline void Start()
{
    SetTouchWatcher(&Watch);
}

} // namespace ghost_touch
