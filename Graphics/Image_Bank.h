// Loads every image of the game into an OpenGL texture, keyed by name ("CEILING",
// "HUD", "A" ...), from the list in Data/Images/image_info.zqt. Entries live in a
// node-based map and never move, so frames may keep references to them.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Graphics/Draw_Types.h"

struct Image_Entry
{
    uint32_t mTexture = 0; // GL texture name, 0 = none
    std::string mFile;
    std::string mFolder; // where mFile was loaded from, to load it again
    Texture_Rect mTextureRect;
    float mPixelHeight = 0, mPixelWidth = 0;
    float mWorldHeight = 0, mWorldWidth = 0;
    float mHeightFraction = 0, mWidthFraction = 0;
    float mHalfHeightFraction = 0, mHalfWidthFraction = 0;
    bool mOpaque = false; // every texel fully opaque (known once uploaded)
    // For a large image that is mostly clear (a frame around the screen): the parts of
    // it that can show anything, in texture coordinates. Drawing only these gives the
    // same picture for less fill. Empty: draw the image whole.
    std::vector<Texture_Rect> mParts;
};

// Called before every item of the list; true means the user asked to quit.
typedef bool (*Loading_Callback)(bool finish);

class Image_Bank
{
public:
    // Loads the loading screen, then the whole list behind it. False on a quit request,
    // a missing list, or a second call.
    bool Init(Loading_Callback callback);
    // The entry for a key; an unknown key gets a new empty entry.
    Image_Entry& GetImage(const std::string& key);
    bool HasImage(const std::string& key) const { return mImages.count(key) != 0; }
    // False (and the entry left as it was) when the file cannot be loaded.
    bool LoadImage(const std::string& key, const std::string& folder, const std::string& file);
    bool LoadImageList(const std::string& folder, const std::string& listFile, Loading_Callback callback);
    // The list reader itself, on any stream (tests and the fuzzer feed it text).
    bool ReadImageList(std::istream& in, const std::string& folder, Loading_Callback callback);
    void Shutdown(); // deletes the textures; entries stay
    // Loads every image again into the current GL context (a new window has lost the
    // old textures); entries keep their sizes and texture rectangles.
    void Reupload();
    bool IsInitialised() const { return mInitialised; }
    const std::map<std::string, Image_Entry>& GetImages() const { return mImages; }

private:
    std::map<std::string, Image_Entry> mImages;
    bool mInitialised = false;
    // Every texture name made, so one left behind by a reloaded key is freed too.
    std::set<uint32_t> mTextures;
};

extern Image_Bank gImageBank;
