#include "Entities/Collision.h"

#include <algorithm>
#include <cstdlib>

#include "Audio/Sound_Manager.h"
#include "Entities/Player.h"
#include "Graphics/Draw_Types.h"
#include "World/Camera.h"
#include "World/Entity.h"

namespace
{
struct Box_Edges
{
    float mLeft, mRight, mTop, mBottom;
};

Box_Edges EdgesOf(const Quad& q)
{
    // Screen y grows upward.
    return {q.mX - q.mWidth / 2.0f, q.mX + q.mWidth / 2.0f, q.mY + q.mHeight / 2.0f, q.mY - q.mHeight / 2.0f};
}

Touch_Watcher gTouchWatcher = nullptr;

void PlayTouchSound(const Entity& e)
{
    if (e.mTouchVoiceLines.empty())
    {
        gSound.PlayRandomEffect(e.mTouchSounds);
        return;
    }
    // The dragon speaks up one touch in three.
    if (std::rand() % 3 != 0)
        gSound.PlayRandomEffect(e.mTouchSounds);
    else
        gSound.PlayVoice(e.mTouchVoiceLines[std::rand() % e.mTouchVoiceLines.size()]);
}
} // namespace

void SetTouchWatcher(Touch_Watcher watcher)
{
    gTouchWatcher = watcher;
}

void CheckCollisions(Player& player, const std::unique_ptr<Entity>* first,
                     const std::unique_ptr<Entity>* last)
{
    if (!first || !last)
        return;
    const Box_Edges p = EdgesOf(gCamera.ProjectBox(player.mX, player.mY, 2.0f * player.mHalfWidth,
                                                   2.0f * player.mHalfHeight, player.mZ));
    // Whatever last frame's test stopped short of is tested now (a runner speeding up).
    const float nearZ = std::min(player.mZ, player.mSweep.mFrom);
    const float farZ = player.mZ + player.mSpeed;
    player.mSweep.mCheckedUpTo = farZ;

    for (const std::unique_ptr<Entity>* it = first; it != last; ++it)
    {
        Entity& e = **it;
        if (!e.mSolid)
            continue;
        // Only what the runner passes this frame: knocked back, the slab is empty. A
        // moving object is tested over the whole distance it closed too.
        if (!(nearZ <= e.mZ && e.mZ <= farZ + e.GetApproachStep()))
            continue;
        const Box_Edges b = EdgesOf(gCamera.ProjectBox(e.mX, e.mY, 2.0f * e.mSize * e.mHalfWidth,
                                                       2.0f * e.mSize * e.mHalfHeight, e.mZ));
        const float m = e.GetCollisionMargin();
        if (p.mRight - m > b.mLeft && p.mLeft + m < b.mRight && p.mBottom + m < b.mTop &&
            p.mTop - m > b.mBottom)
        {
            if (gTouchWatcher)
                gTouchWatcher(player, e);
            player.TouchEntity(e);
            PlayTouchSound(e);
        }
    }
}
