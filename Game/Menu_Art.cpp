#include "Game/Menu_Art.h"

#include <cstdio>
#include <string>

#include "Game/HUD.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"

void Menu_Art::Init()
{
    mMenuSlab.SetImage("MENU_SLAB");
    mArrow.SetImage("ARROW");
    mSelection.SetImage("MENU_SELECTION");
    mArrow.mScale.Set(0.6f, 0.6f, 0.6f);
}

void Menu_Art::DrawLines(const char* const* items, int count, float topY, int cursor)
{
    gFont.SetScale(0.75f);
    // The glow spans the selected line, whatever its length: the image is one glyph wide.
    const std::string selected = items[cursor];
    mSelection.mScale.Set(static_cast<float>(selected.size()) + 1.0f, 1.0f, 1.0f);
    gGraphics.DrawFrameAt(mSelection, -0.5f + 0.06f + 0.045f * 0.5f * (selected.size() - 1.0f),
                          topY - 0.1f * cursor - 0.05f, -0.01f);
    for (int i = 0; i < count; ++i)
    {
        const float x = i == cursor ? -0.5f : -0.525f;
        gFont.drawString(items[i], x, topY - 0.1f * i, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    gFont.SetScale(1.0f);
}

void Menu_Art::DrawArrow(float topY, int cursor, float& arrowAngle)
{
    mArrow.mRotation.Set(arrowAngle, 1.0f, 0.0f, 0.0f);
    arrowAngle += 10.0f;
    gGraphics.DrawFrameAt(mArrow, -0.7f, topY - 0.1f * cursor - 0.03f, 0.0f);
}

void Menu_Art::DrawCountUp(int64_t value, float r, float g, float b)
{
    char text[32];
    std::snprintf(text, sizeof text, "x%lld", static_cast<long long>(value));
    gHUD.TintGem(1.0f, 1.0f, 1.0f, 1.0f);
    gHUD.DrawGemAt(-0.075f, -0.02f, 0.0f);
    gFont.drawStringNormalized(text, 0.5f, 0.5f, 0.0f, r, g, b, 1.0f);
}

bool Kept_Menu::Draw(int cursor, bool stillBehind) const
{
    return mValid && mCursor == cursor && stillBehind && gGraphics.DrawKeptPicture();
}

void Kept_Menu::Keep(int cursor, bool stillBehind)
{
    mValid = stillBehind && gGraphics.KeepPicture();
    mCursor = cursor;
}
