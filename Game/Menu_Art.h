// The images the menus share, and how a menu draws its lines, its cursor and a count.
#pragma once

#include <cstdint>

#include "Graphics/Animation.h"

class Menu_Art
{
public:
    void Init();
    // The lines, with the selected one's glow behind it.
    void DrawLines(const char* const* items, int count, float topY, int cursor);
    // The arrow beside the selected line, turned a step further each time.
    void DrawArrow(float topY, int cursor, float& arrowAngle);
    // The gem and the count beside it.
    void DrawCountUp(int64_t value, float r, float g, float b);

    Animation_Frame mArrow;
    Animation_Frame mSelection; // glow behind the item under the cursor
    Animation_Frame mMenuSlab;
};

// A menu shown from a copy of all but its spinning arrow (Graphics keeps it).
class Kept_Menu
{
public:
    // Draws the copy when there is one for this cursor and whatever lies behind stands
    // still; false when the menu is to be drawn (and kept) anew.
    bool Draw(int cursor, bool stillBehind) const;
    void Keep(int cursor, bool stillBehind);
    void Forget() { mValid = false; }

private:
    bool mValid = false; // the copy is there, taken with the cursor on mCursor
    int mCursor = 0;
};
