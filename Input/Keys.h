// Key symbols of the keys the game reads, with SDL 1.2's values, so game code can
// name keys without including SDL.
#pragma once

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
