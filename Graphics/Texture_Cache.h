// Every texture made from others rather than read from a file: blends of two images,
// the picture kept behind a menu, the copy the world is scaled up from. Each is made
// when first asked for and kept; all of them go together with the GL context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>

struct Image_Entry;

class Texture_Cache
{
public:
    // A texture that shows over laid at alpha on under, texel by texel: what drawing the
    // two in turn gives, for the fill of one. 0 when either image has a clear texel or
    // no texture, or their sizes differ.
    uint32_t Crossfade(const Image_Entry& under, const Image_Entry& over, float alpha);
    // Frees every crossfade made (about 5 MB each): a level's looks go with the level.
    void ForgetCrossfades();
    size_t CrossfadeCount() const { return mCrossfades.size(); }
    // A texture of this size to copy the frame into: the kept picture (read back texel
    // for pixel) or the world to be scaled up (smoothly). 0 when there is no room.
    enum Frame_Copy
    {
        KEPT_PICTURE,
        SCALED_WORLD
    };
    uint32_t FrameCopy(Frame_Copy copy, int width, int height);
    // A frame buffer that draws straight into the world's texture (SCALED_WORLD),
    // which saves copying the world out of the window on every frame. Not there where
    // OpenGL has no frame buffer objects or this one cannot be drawn into: the world is
    // then drawn in the window's corner and copied.
    // Binds it, the texture made this size: true when drawing now goes there.
    bool DrawToWorld(int width, int height);
    // Off, the world is always copied out of the window (as without frame buffers).
    void AllowWorldTarget(bool on) { mWorldTargetAllowed = on; }
    // Draws into the window again, after DrawToWorld.
    static void DrawToWindow();
    // The GL context is going: its names are deleted, or forgotten where they went with it.
    void Drop(bool contextLost);

private:
    // By the textures under and over, and the alpha.
    std::map<std::tuple<uint32_t, uint32_t, float>, uint32_t> mCrossfades;
    struct Copy
    {
        uint32_t mTexture;
        int mWidth, mHeight;
    } mCopies[2] = {};
    uint32_t mWorldTarget = 0;
    bool mWorldTargetAttached = false; // to the world's texture at its present size
    bool mWorldTargetAllowed = true;
    bool mWorldTargetTried = false; // for this context: a failure is not tried again
};
