// Base of every object a level file places on the run. The loader constructs the
// concrete type, calls Init with the record's position and attribute words, then the
// type's Setup; from then on the Entity_Handler owns it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Graphics/Animation.h"

class Player;

class Entity
{
public:
    Entity();
    virtual ~Entity();

    // Reads the common attributes SIZE and Y_VALUE; the entity is alive, solid, off screen.
    void Init(float x, float z, const std::vector<std::string>& attributes);

    virtual void Setup() = 0;            // the type reads its own attributes
    virtual void DrawOverlay() {}        // drawn after the world (overlay list only)
    virtual void Use(Player& player);    // held item, every frame: adds mScoreValue
    virtual bool Update(Player& player); // false: leaves play
    virtual void Touch(Player& player);  // adds mScoreValue
    virtual void Reset();                // solid, alive, off screen
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

    bool mAlive;
    bool mInOverlayList;
    int32_t mScoreValue;
    float mHalfWidth;
    float mHalfHeight;
    float mSize;
    float mX;
    float mY;
    float mZ;
    bool mVanishOnTouch;
    bool mSolid;
    bool mHoldable;
    bool mOnScreen;
    Animation mModel;
    std::vector<std::string> mTouchSounds;
    std::vector<std::string> mAttributes;
    std::vector<std::string> mTouchVoiceLines;
    std::vector<std::string> mUseSounds;
};
