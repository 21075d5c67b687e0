// Draws text from glyph images: one image per character "!" to "Z", keyed by the
// character. Monospaced: every character advances the pen by 0.06 × scale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Graphics/Animation.h"

class Font
{
public:
    static const int GLYPH_COUNT = 59; // codes 32 (space) to 90 ("Z")
    static const float ADVANCE;        // 0.06 screen units at scale 1

    Font();
    void Init(); // looks the glyphs up in the image bank
    void SetScale(float s) { mScale = s; }
    float GetScale() const { return mScale; }
    void SetColour(float r, float g, float b, float a);

    void drawString(std::string_view text, float x, float y, float z, float r, float g, float b, float a);
    void drawStringCentered(std::string_view text, float x, float y, float z, float r, float g, float b,
                            float a);
    // x and y as fractions of the screen from the left and from the top.
    void drawStringNormalized(std::string_view text, float fx, float fy, float z, float r, float g, float b,
                              float a);

    // The glyph a character draws with, or -1 when it has none (lower case maps to capitals).
    static int GlyphIndex(char c);

    // Where drawString puts each visible glyph: its index and centre.
    struct Placed_Glyph
    {
        int mIndex;
        float mX, mY;
    };
    std::vector<Placed_Glyph> Layout(std::string_view text, float x, float y) const;
    // The x at which drawStringCentered starts a text so that it is centred on x.
    float CentredX(std::string_view text, float x) const;

    Animation_Frame mGlyphs[GLYPH_COUNT];
    float mColour[4];
    float mScale;
};

extern Font gFont;
