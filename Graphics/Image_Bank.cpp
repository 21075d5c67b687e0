#include "Graphics/Image_Bank.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <vector>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include "Core/Constants.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_List.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

Image_Bank gImageBank;

namespace
{

// Without a window (tests, the fuzzer) there is no GL context: images are still
// read and sized, but nothing is uploaded.
bool HaveGL()
{
    return gGraphics.IsInitialised();
}

// The exact byte layout the upload names: R,G,B,A for PNG files, B,G,R otherwise.
// Whatever SDL_image produced (palette, grey, 24-bit, padded rows) is redrawn into it.
SDL_Surface* ConvertForUpload(SDL_Surface* source, bool rgba)
{
    // The mask of byte i of a pixel n bytes long, as it lies in memory.
    const auto byte = [](int i, int n) -> Uint32
    { return SDL_BYTEORDER == SDL_BIG_ENDIAN ? 0xFFu << (8 * (n - 1 - i)) : 0xFFu << (8 * i); };
    const int n = rgba ? 4 : 3;
    const Uint32 r = byte(rgba ? 0 : 2, n), g = byte(1, n), b = byte(rgba ? 2 : 0, n),
                 a = rgba ? byte(3, n) : 0;
    SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, rgba ? 32 : 24, r, g, b, a);
    if (!model)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurface(source, model->format, SDL_SWSURFACE);
    SDL_FreeSurface(model);
    return converted;
}

// Images smaller than this are drawn whole: splitting a small quad saves little fill
// and costs more vertices than it saves.
const int PARTS_MIN_TEXELS = 256 * 256;
// Square tiles, in texels, of which the parts are made.
const int PART_TILE = 16;
// Parts are kept only when they leave out at least this share of the image.
const float PARTS_MAX_SHARE = 0.6f;

// The tiles of an RGBA image that can show anything: a tile counts when any texel
// within one texel of it has alpha (linear filtering reaches that far, and across the
// edges too, since textures repeat).
std::vector<char> UsedTiles(const unsigned char* rgba, int w, int h, int cols, int rows)
{
    std::vector<char> used(static_cast<size_t>(cols) * rows, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            if (rgba[(static_cast<size_t>(y) * w + x) * 4 + 3] == 0)
                continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                {
                    const int tx = ((x + dx + w) % w) / PART_TILE;
                    const int ty = ((y + dy + h) % h) / PART_TILE;
                    used[static_cast<size_t>(ty) * cols + tx] = 1;
                }
        }
    return used;
}

// A rectangle of tiles, right and bottom edges excluded.
struct Run
{
    int x0, x1, y0, y1;
};

// The used tiles merged into rectangles: runs along each row; a run that repeats the
// one above grows it.
std::vector<Run> MergeTiles(const std::vector<char>& used, int cols, int rows)
{
    std::vector<Run> done, open;
    for (int ty = 0; ty < rows; ++ty)
    {
        std::vector<Run> next;
        for (int tx = 0; tx < cols;)
        {
            if (!used[static_cast<size_t>(ty) * cols + tx])
            {
                ++tx;
                continue;
            }
            Run run{tx, tx, ty, ty + 1};
            while (run.x1 < cols && used[static_cast<size_t>(ty) * cols + run.x1])
                ++run.x1;
            tx = run.x1;
            for (auto it = open.begin(); it != open.end(); ++it)
                if (it->x0 == run.x0 && it->x1 == run.x1)
                {
                    run.y0 = it->y0;
                    open.erase(it);
                    break;
                }
            next.push_back(run);
        }
        done.insert(done.end(), open.begin(), open.end());
        open = next;
    }
    done.insert(done.end(), open.begin(), open.end());
    return done;
}

// The parts of a mostly clear image worth drawing, in texture coordinates; none when the
// image is small or the parts would save too little.
std::vector<Texture_Rect> FindParts(const unsigned char* rgba, int w, int h)
{
    std::vector<Texture_Rect> parts;
    if (w * h < PARTS_MIN_TEXELS)
        return parts;
    const int cols = (w + PART_TILE - 1) / PART_TILE;
    const int rows = (h + PART_TILE - 1) / PART_TILE;
    long area = 0;
    for (const Run& run : MergeTiles(UsedTiles(rgba, w, h, cols, rows), cols, rows))
    {
        const int x0 = run.x0 * PART_TILE, x1 = std::min(run.x1 * PART_TILE, w);
        const int y0 = run.y0 * PART_TILE, y1 = std::min(run.y1 * PART_TILE, h);
        area += static_cast<long>(x1 - x0) * (y1 - y0);
        parts.push_back(Texture_Rect::FromPixels(static_cast<float>(x0), static_cast<float>(y0),
                                                 static_cast<float>(x1), static_cast<float>(y1),
                                                 static_cast<float>(w), static_cast<float>(h)));
    }
    if (area > PARTS_MAX_SHARE * w * h)
        parts.clear();
    return parts;
}

// True when every texel is fully opaque, so drawing it in an opaque colour needs no
// blending (Graphics draws those without it, which lets the renderer skip what they hide).
// The parts worth drawing of a mostly clear image go to parts.
bool Upload(SDL_Surface* surface, bool rgba, std::vector<Texture_Rect>& parts)
{
    const int bytesPerPixel = rgba ? 4 : 3;
    const size_t rowBytes = static_cast<size_t>(surface->w) * bytesPerPixel;

    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    // SDL pads rows to four bytes; GL is told rows are packed, so pack them.
    std::vector<unsigned char> packed(rowBytes * surface->h);
    const unsigned char* pixels = static_cast<const unsigned char*>(surface->pixels);
    for (int row = 0; row < surface->h; ++row)
        std::copy(pixels + row * surface->pitch, pixels + row * surface->pitch + rowBytes,
                  packed.begin() + row * rowBytes);
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (rgba)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, surface->w, surface->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     packed.data());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, surface->w, surface->h, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                     packed.data());

    parts.clear();
    if (!rgba)
        return true;
    for (size_t i = 3; i < packed.size(); i += 4)
        if (packed[i] != 0xFF)
        {
            parts = FindParts(packed.data(), surface->w, surface->h);
            return false;
        }
    return true;
}

// Uploads a file's image into texture; every key on that texture learns what the
// upload found.
void UploadInto(std::map<std::string, Image_Entry>& images, GLuint texture, SDL_Surface* surface,
                const std::string& file)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const bool rgba = file.find("png") != std::string::npos;
    SDL_Surface* converted = ConvertForUpload(surface, rgba);
    if (!converted)
    {
        std::cout << "Error: Could not convert " << file << ": " << SDL_GetError() << std::endl;
        return;
    }
    std::vector<Texture_Rect> parts;
    const bool opaque = Upload(converted, rgba, parts);
    SDL_FreeSurface(converted);
    for (auto& item : images)
        if (item.second.mTexture == texture)
        {
            item.second.mOpaque = opaque;
            item.second.mParts = parts;
        }
}

// Sizes an image in fractions of the screen.
void SetSize(Image_Entry& entry, float width, float height)
{
    entry.mWidthFraction = width;
    entry.mHalfWidthFraction = width * 0.5f;
    entry.mWorldWidth = FractionToWidth(width);
    entry.mHeightFraction = height;
    entry.mHalfHeightFraction = height * 0.5f;
    entry.mWorldHeight = FractionToHeight(height);
}

// One image of the list, sized as it says; a missing file leaves its entry untouched.
void AddListed(Image_Bank& bank, const Image_List_Item& item, const std::string& folder)
{
    if (!bank.LoadImage(item.mKey, folder, item.mFile))
        return;
    Image_Entry& entry = bank.GetImage(item.mKey);
    if (item.mHasRect && entry.mPixelWidth > 0 && entry.mPixelHeight > 0)
        entry.mTextureRect = Texture_Rect::FromPixels(item.mLeft, item.mTop, item.mRight, item.mBottom,
                                                      entry.mPixelWidth, entry.mPixelHeight);
    // Without numbers, the size the image would have on an 800x600 screen.
    SetSize(entry, item.mHasWidth ? item.mWidth : entry.mPixelWidth * 0.00125f,
            item.mHasHeight ? item.mHeight : entry.mPixelHeight * 0.0016666667f);
}

} // namespace

bool Image_Bank::Init(Loading_Callback callback)
{
    if (mInitialised)
    {
        std::cerr << "Image bank being init twice!" << std::endl;
        return false;
    }
    if (HaveGL())
        glEnable(GL_TEXTURE_2D);

    if (LoadImage("LOADING_SCREEN", IMAGE_PATH, LOADING_SCREEN_FILE))
        SetSize(GetImage("LOADING_SCREEN"), 0.75f, 0.7f);
    // Square in world units: the screen plane is 1.75 times wider than high.
    if (LoadImage("LOADING_ICON", IMAGE_PATH, LOADING_ICON_FILE))
        SetSize(GetImage("LOADING_ICON"), 0.05f, SCREEN_PLANE_HALF_WIDTH * 0.05f);

    mInitialised = LoadImageList(IMAGE_PATH, IMAGE_INFO_FILE, callback);

    if (HaveGL())
        glDisable(GL_TEXTURE_2D);
    return mInitialised;
}

Image_Entry& Image_Bank::GetImage(const std::string& key)
{
    return mImages[key];
}

bool Image_Bank::LoadImage(const std::string& key, const std::string& folder, const std::string& file)
{
    const std::string path = folder + file;
    SDL_Surface* surface = IMG_Load(path.c_str());
    if (!surface)
    {
        std::cout << "Error: Could not find or load " << file << "\n" << std::endl;
        return false;
    }

    // One texture name per file: a second key for the same file shares it.
    const auto same = std::find_if(mImages.begin(), mImages.end(),
                                   [&](const auto& item) { return item.second.mFile == file; });
    GLuint texture = same == mImages.end() ? 0 : same->second.mTexture;
    const bool gl = HaveGL();
    if (gl && texture == 0)
    {
        glGenTextures(1, &texture);
        mTextures.insert(texture);
    }

    Image_Entry& entry = mImages[key];
    entry.mTexture = texture;
    entry.mFile = file;
    entry.mFolder = folder;
    entry.mPixelWidth = static_cast<float>(surface->w);
    entry.mPixelHeight = static_cast<float>(surface->h);
    entry.mTextureRect = Texture_Rect();
    entry.mOpaque = false;
    entry.mParts.clear();

    if (gl)
        UploadInto(mImages, texture, surface, file);
    SDL_FreeSurface(surface);
    return true;
}

bool Image_Bank::LoadImageList(const std::string& folder, const std::string& listFile,
                               Loading_Callback callback)
{
    const std::string path = folder + listFile;
    std::ifstream in(path.c_str());
    if (!in.is_open())
    {
        std::cerr << "image_info file could not be opened!  Is the path correct?  "
                     "Check Core/Constants.  The path:"
                  << path << std::endl;
        return false;
    }
    return ReadImageList(in, folder, callback);
}

bool Image_Bank::ReadImageList(std::istream& in, const std::string& folder, Loading_Callback callback)
{
    const Image_List list = ParseImageList(in);
    // Every item is one step of the loading screen, and a quit between steps is heard.
    for (const Image_List_Item& item : list.mItems)
    {
        if (callback && callback(false))
            return false;
        if (!item.mKey.empty())
            AddListed(*this, item, folder);
    }
    if (list.mCut && callback && callback(false))
        return false;
    // A list cut short loads what it has, but a data author must hear of it.
    for (const std::string& error : list.mErrors)
        std::cout << error << std::endl;
    // A quit asked for while the finished list is held on screen counts as well.
    return !(callback && callback(true));
}

void Image_Bank::Reupload()
{
    // The old names died with the old context; nothing to delete.
    mTextures.clear();
    for (auto& item : mImages)
        item.second.mTexture = 0;
    // Keys are visited in the order LoadImage looks for a key sharing the file, so the
    // first key of a file makes its texture and the others find it.
    for (auto& item : mImages)
    {
        if (item.second.mFile.empty() || item.second.mTexture != 0)
            continue;
        // The entry as it was, but for the new texture and what its upload found.
        Image_Entry kept = item.second;
        if (!LoadImage(item.first, kept.mFolder, kept.mFile))
            continue;
        kept.mTexture = item.second.mTexture;
        kept.mOpaque = item.second.mOpaque;
        item.second = kept;
    }
}

void Image_Bank::Shutdown()
{
    for (auto& item : mImages)
        item.second.mTexture = 0;
    if (HaveGL() && !mTextures.empty())
    {
        std::vector<GLuint> names(mTextures.begin(), mTextures.end());
        glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
    }
    mTextures.clear();
    mInitialised = false;
}
