// Key symbols of the keys the game reads, with SDL 1.2's values, so game code can
// name keys without including SDL.
#pragma once

#include <string>

const int KEY_RETURN = 13;
const int KEY_ESCAPE = 27;
const int KEY_SPACE = 32;
const int KEY_B = 98;
const int KEY_D = 100;
const int KEY_E = 101;
const int KEY_F = 102;
const int KEY_G = 103;
const int KEY_K = 107;
const int KEY_M = 109;
const int KEY_O = 111;
const int KEY_P = 112;
const int KEY_S = 115;
const int KEY_W = 119;
const int KEY_KP_MINUS = 269;
const int KEY_KP_PLUS = 270;
const int KEY_UP = 273;
const int KEY_DOWN = 274;
const int KEY_RIGHT = 275;
const int KEY_LEFT = 276;
const int KEY_F11 = 292;

// The keys of play the player may choose (options screen); menus keep the arrows and
// Enter whatever is chosen here.
struct Key_Bindings
{
    int mLeft = KEY_LEFT;
    int mRight = KEY_RIGHT;
    int mJump = KEY_SPACE;
    int mPause = KEY_P;

    bool operator==(const Key_Bindings& o) const
    {
        return mLeft == o.mLeft && mRight == o.mRight && mJump == o.mJump && mPause == o.mPause;
    }
};

extern Key_Bindings gKeys;

// A key's name as the settings file and the options screen write it ("space", "a",
// "left"); keys without a name of their own are "key" and their number.
std::string KeyName(int key);
// The key of a name KeyName gives; 0 for none.
int KeyFromName(const std::string& name);
