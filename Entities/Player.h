// The runner: moves forward by itself, is steered sideways, jumps, carries one item at
// a time and keeps the score and the checkpoint. Level objects change it through the
// operations below.
#pragma once

#include <cstdint>

#include "Entities/Collision.h"
#include "Graphics/Animation.h"
#include "Graphics/Graphics.h"
#include "World/Background_Handler.h"
#include "World/Entity_Handler.h"

class Entity;
class Input_Handler;

class Player : public Drawn_Runner
{
public:
    static constexpr float START_Z = 300.0f;
    static constexpr float STEER_STEP = 0.015f;
    static constexpr float JUMP_VELOCITY = -0.04f;
    static constexpr float JUMP_GRAVITY = 0.0025f;
    static constexpr float RECOVERY_STEP = 0.01f;
    static constexpr float JUMP_CEILING = 0.1f; // the runner never rises past this height

    Player();

    void Init();                // once, after the image bank is loaded
    void Reset();               // at the start line, running, nothing held
    void Restart();             // level from its beginning: checkpoint forgotten
    bool RespawnAtCheckpoint(); // false (and nothing changes) without a checkpoint
    void SaveCheckpoint();
    void ClearItemUseBlock() { mItemUseBlocked = false; }
    void ClearScores()
    {
        mLevelStartScore = 0;
        mScore = 0;
    }
    // Stops at the ends of the range: a level's values may add up past it.
    void AddScore(int32_t value);
    void SetSpeed(float speed);
    void SetX(float x); // clamped to keep the body inside the walls and the window
    // Where SetX lets the runner be across the corridor at its present distance.
    void GetXRange(float& lo, float& hi) const;
    void Launch(float velocityY, float gravity);
    void Update(const Input_Handler& input);
    void TouchEntity(Entity& e);
    bool IsCaught() const;
    bool HasReached(const Entity& e) const override;
    void Draw() override;

    bool mAccelerating = false;
    int32_t mLevelStartScore = 0;
    int32_t mJumpState = 0;
    int32_t mScore = 0;
    float mZ = START_Z;
    float mX;
    float mY = 1.0f;
    float mVelocityY = 0.0f;
    float mGravity = 0.0f;
    float mSpeed = 1.0f;
    float mHalfWidth = 0.0f;
    float mHalfHeight = 0.0f;
    float mCheckpointZ = 0.0f;
    float mCheckpointDragonZ = 0.0f;
    int32_t mCheckpointScore = 0;
    // What the player saw at the checkpoint, given back by a respawn: the caves set
    // their fog and look once near the start, behind every checkpoint.
    float mCheckpointFogColour[3] = {};
    Fog_Parameters mCheckpointFog = CAVE_FOG;
    Background_Handler::Look mCheckpointLook;
    std::string mCheckpointHudFrame;
    bool mCollidable = true;
    Entity* mHeldItem = nullptr;
    bool mItemUseBlocked = false;
    bool mHitThisFrame = false;
    Collision_Sweep mSweep; // what the collision test has covered, kept for its next frame
    Animation mAnimation;
    Animation_Frame mShadow;

private:
    void ReadControls(const Input_Handler& input); // steering, jumping, using the held item
    void Fall();                                   // a jump's rise and fall, and its shadow
};

extern Player gPlayer;
