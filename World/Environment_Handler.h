// The chasing dragon's unseen state: how far along the run it is, how much it gains
// each frame, and its four banks of spoken lines.
#pragma once

#include <string>
#include <vector>

class Environment_Handler
{
public:
    static constexpr float DRAGON_SPEED = 0.8f;

    Environment_Handler();
    void Init();  // fills the voice banks
    void Reset(); // dragon back at 0 with its normal speed
    void Update() { gDragonDistance += mDragonSpeed; }
    void Stop() { mDragonSpeed = 0.0f; }

    std::vector<std::string> mEatingLines;
    std::vector<std::string> mGiveUpLines;
    std::vector<std::string> mTauntLines;
    std::vector<std::string> mAttackLines;
    float mDragonSpeed;
    float gDragonDistance; // the chase position, read across the game
};

extern Environment_Handler gEnvironment;
