#include "Graphics/Font.h"

#include <iostream>

#include "Graphics/Draw_Types.h"
#include "Graphics/Graphics.h"

Font gFont;

const float Font::ADVANCE = 0.06f;

namespace
{

// The first glyph's centre sits this far right of and below the given point.
const float PEN_OFFSET_X = 0.06f;
const float PEN_OFFSET_Y = 0.05f;
// Text nearer than this is behind the eye (which sits at 2.41).
const float BEHIND_CAMERA_Z = 2.4f;

// The one walk along a text: Layout reports it and drawString draws it.
template <typename Place> void Walk(std::string_view text, float x, float y, float scale, Place place)
{
    float pen = x + PEN_OFFSET_X;
    const float row = y - PEN_OFFSET_Y;
    for (char c : text)
    {
        const int index = Font::GlyphIndex(c);
        // Space and characters without a glyph take their place but draw nothing.
        if (index > 0)
            place(index, pen, row);
        pen += scale * Font::ADVANCE;
    }
}

} // namespace

Font::Font() : mColour{1.0f, 1.0f, 1.0f, 1.0f}, mScale(1.0f) {}

void Font::Init()
{
    mScale = 1.0f;
    for (int code = 33; code <= 90; ++code)
        mGlyphs[code - 32] = Animation_Frame(std::string(1, static_cast<char>(code)));
}

void Font::SetColour(float r, float g, float b, float a)
{
    mColour[0] = r;
    mColour[1] = g;
    mColour[2] = b;
    mColour[3] = a;
}

int Font::GlyphIndex(char c)
{
    int i = static_cast<signed char>(c) - 32;
    // Lower case shares the capitals' glyphs.
    if (i < 0 || i >= GLYPH_COUNT)
        i -= 32;
    if (i < 0 || i >= GLYPH_COUNT)
        return -1;
    return i;
}

std::vector<Font::Placed_Glyph> Font::Layout(std::string_view text, float x, float y) const
{
    std::vector<Placed_Glyph> glyphs;
    Walk(text, x, y, mScale, [&](int i, float px, float py) { glyphs.push_back(Placed_Glyph{i, px, py}); });
    return glyphs;
}

float Font::CentredX(std::string_view text, float x) const
{
    return x - static_cast<float>(text.size()) * 0.5f * mScale * ADVANCE;
}

void Font::drawString(std::string_view text, float x, float y, float z, float r, float g, float b, float a)
{
    if (z > BEHIND_CAMERA_Z)
        std::cerr << "drawString(): Text drawn behind the camera! String: \"" << text << "\"" << std::endl;

    SetColour(r, g, b, a);
    Walk(text, x, y, mScale,
         [&](int index, float gx, float gy)
         {
             Animation_Frame& glyph = mGlyphs[index];
             gGraphics.PushColour(a, r, g, b);
             glyph.mScale.mX = glyph.mScale.mY = mScale;
             gGraphics.DrawFrameAt(glyph, gx, gy, z);
             gGraphics.PopColour();
         });
}

void Font::drawStringCentered(std::string_view text, float x, float y, float z, float r, float g, float b,
                              float a)
{
    drawString(text, CentredX(text, x), y, z, r, g, b, a);
}

void Font::drawStringNormalized(std::string_view text, float fx, float fy, float z, float r, float g, float b,
                                float a)
{
    drawString(text, FractionToScreenX(fx), FractionToScreenY(fy), z, r, g, b, a);
}
