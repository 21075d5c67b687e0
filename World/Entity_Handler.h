// Owns every entity of the current level, in file order (ascending distance), and keeps
// the on-screen window: the stretch of the list between the camera's near and far
// edges. The window only moves forward, so per-frame work follows what is on screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class Entity;
class Player;

// The runner as the list draws it: in front of the first entity it has reached.
class Drawn_Runner
{
public:
    virtual bool HasReached(const Entity& e) const = 0;
    virtual void Draw() = 0;
};

class Entity_Handler
{
public:
    static const size_t NO_POSITION = SIZE_MAX;
    // Level length used when there are no entities (after a failed load): keeps the
    // progress values finite.
    static constexpr float EMPTY_LEVEL_LENGTH = 1000.0f;

    std::vector<std::unique_ptr<Entity>>& GetEntities() { return mEntities; }
    const std::vector<std::unique_ptr<Entity>>& GetEntities() const { return mEntities; }
    // Entities drawn once more over everything; owned by the list above.
    std::vector<Entity*>& GetOverlay() { return mOverlay; }
    bool OverlaysStill() const;
    // The window, as a half-open range of the list, for the collision test.
    const std::unique_ptr<Entity>* GetFirstOnScreen() const;
    const std::unique_ptr<Entity>* GetLastOnScreen() const;
    size_t GetFirstIndex() const { return mFirstOnScreen; }
    size_t GetLastIndex() const { return mLastOnScreen; }
    int32_t GetActiveCount() const { return mActiveCount; }

    void ResetWindow();     // window rewound, every entity counted active
    void ResetAll();        // every entity's Reset (a level restart)
    void Clear();           // destroys the level's entities
    float GetLastZ() const; // the level length
    bool IsLevelPassed() const;
    void Update(Player& player);
    // Without a runner (nullptr) when a screen draws it elsewhere (swallowed by the jaws).
    void DrawEntities(Drawn_Runner* runner);

private:
    size_t mFirstOnScreen = NO_POSITION;
    size_t mLastOnScreen = NO_POSITION;
    size_t mFirstAlive = NO_POSITION;
    int32_t mActiveCount = 0;
    std::vector<std::unique_ptr<Entity>> mEntities;
    std::vector<Entity*> mOverlay;
};

extern Entity_Handler gEntities;
