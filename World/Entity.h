// Base of every object a level file places on the run. The loader constructs the
// concrete type, calls Init with the record's position and attribute words, then the
// type's Setup; from then on the Entity_Handler owns it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Graphics/Animation.h"

class Player;

// The span a number from a level file must lie in. Outside it the game takes the nearer
// end and says so once: a cast of 1e10 to int, or a box of negative size, is no level.
struct Attribute_Range
{
    float mMin;
    float mMax;
};
constexpr Attribute_Range NO_RANGE{-3.0e38f, 3.0e38f};
constexpr Attribute_Range SIZE_RANGE{0.01f, 100.0f};
constexpr Attribute_Range Y_VALUE_RANGE{-1.0f, 2.0f};   // one corridor height either side
constexpr Attribute_Range FRAMES_RANGE{1.0f, 36000.0f}; // ten minutes of frames
constexpr Attribute_Range HALF_WIDTH_RANGE{0.01f, 10.0f};

// What an attribute's value must be.
enum class Attribute_Kind
{
    TEXT,
    INT,
    FLOAT,
    IMAGE_KEY // a key of the image list, or None
};

// One attribute a type reads from its record. A number outside the range is clamped;
// a missing or unreadable one gives the default.
struct Entity_Attribute
{
    const char* mName;
    Attribute_Kind mKind;
    Attribute_Range mRange = NO_RANGE;
    float mDefault = 0.0f;
};

class Entity
{
public:
    virtual ~Entity() = default;

    // Reads the common attributes SIZE and Y_VALUE; the entity is alive, solid, off screen.
    void Init(float x, float z, const std::vector<std::string>& attributes);

    virtual void Setup() = 0;     // the type reads its own attributes
    virtual void DrawOverlay() {} // drawn after the world (overlay list only)
    // Held item, every frame, and a touch: both pay mScoreValue to the runner.
    virtual void Use(Player& player) { sPayScore(player, mScoreValue); }
    virtual bool Update(Player& player); // false: leaves play
    virtual void Touch(Player& player) { sPayScore(player, mScoreValue); }
    virtual void Reset(); // solid, alive, off screen
    // True when the next DrawOverlay would look the same and move nothing on.
    virtual bool OverlayIsStill() const { return true; }
    virtual float GetCollisionMargin() const { return 0.0f; }
    // How far it came toward the runner in its last update; the collision test
    // widens by this so a moving object cannot slip between two frames' tests.
    virtual float GetApproachStep() const { return 0.0f; }

    // The word after the first occurrence of name; "" (with a message) if there is none.
    std::string GetAttribute(const std::string& name) const;
    // The name occurs and is not the last word. Prints nothing.
    bool HasAttribute(const std::string& name) const;
    // One number from the start of the text; 0 (with a message) when there is none.
    static float ParseFloat(const std::string& text);
    static int32_t ParseInt(const std::string& text);
    // The number named key, read by its row (the type's, or SIZE and Y_VALUE): the row's
    // default when missing or unreadable, else held to the row's range (NaN: the low end),
    // each with one message. Double: an INT keeps all its digits.
    double Get(const char* key) const;
    // How a score reaches the runner, whose type lives a layer up; set by the runner when made.
    inline static void (*sPayScore)(Player& player, int32_t value) = nullptr;

    bool mAlive = false;
    bool mInOverlayList = false;
    int32_t mScoreValue = 0;
    float mHalfWidth = 0.0f;
    float mHalfHeight = 0.0f;
    float mSize = 1.0f;
    float mX = 0.0f;
    float mY = 1.0f;
    float mZ = 0.0f;
    bool mVanishOnTouch = false;
    bool mSolid = false;
    bool mHoldable = false;
    bool mOnScreen = false;
    Animation mModel;
    std::vector<std::string> mTouchSounds;
    std::vector<std::string> mAttributes;
    const Entity_Attribute* mRows = nullptr; // the type's row of the table, set when made
    int mRowCount = 0;
    std::vector<std::string> mTouchVoiceLines;
    std::vector<std::string> mUseSounds;
};
