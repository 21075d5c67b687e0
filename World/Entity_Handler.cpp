#include "World/Entity_Handler.h"

#include <iostream>

#include "Graphics/Graphics.h"
#include "World/Camera.h"
#include "World/Entity.h"

Entity_Handler gEntities;

// Entities leave the window this far behind the camera's near edge.
static const float LEAVE_BEHIND = 5.0f;

const std::unique_ptr<Entity>* Entity_Handler::GetFirstOnScreen() const
{
    if (mFirstOnScreen == NO_POSITION || mLastOnScreen == NO_POSITION)
        return nullptr;
    return mEntities.data() + mFirstOnScreen;
}

const std::unique_ptr<Entity>* Entity_Handler::GetLastOnScreen() const
{
    if (mFirstOnScreen == NO_POSITION || mLastOnScreen == NO_POSITION)
        return nullptr;
    return mEntities.data() + mLastOnScreen;
}

void Entity_Handler::ResetWindow()
{
    mFirstOnScreen = 0;
    mLastOnScreen = 0;
    mFirstAlive = 0;
    mActiveCount = static_cast<int32_t>(mEntities.size());
}

void Entity_Handler::ResetAll()
{
    for (const std::unique_ptr<Entity>& e : mEntities)
        e->Reset();
    mActiveCount = static_cast<int32_t>(mEntities.size());
}

void Entity_Handler::Clear()
{
    // The overlay goes first: it points into the entities.
    std::vector<Entity*>().swap(mOverlay);
    std::vector<std::unique_ptr<Entity>>().swap(mEntities);
    // The old positions point into a list that no longer exists.
    mFirstOnScreen = mLastOnScreen = mFirstAlive = NO_POSITION;
    mActiveCount = 0;
}

float Entity_Handler::GetLastZ() const
{
    if (mEntities.empty())
        return EMPTY_LEVEL_LENGTH;
    return mEntities.back()->mZ;
}

bool Entity_Handler::IsLevelPassed() const
{
    return mFirstOnScreen == mEntities.size();
}

void Entity_Handler::Update(Player& player)
{
    if (mEntities.empty())
    {
        std::cout << "Error: There's nothing in the entity list!" << std::endl;
        return;
    }
    const size_t count = mEntities.size();
    if (mFirstOnScreen == NO_POSITION || mLastOnScreen == NO_POSITION || mFirstAlive == NO_POSITION ||
        mFirstOnScreen > count || mLastOnScreen > count || mFirstAlive > count)
    {
        std::cout << "Error: mFirstOnScreen/mLastOnScreen is NULL" << std::endl;
        return;
    }
    if (mFirstOnScreen == count)
        return;

    const float farZ = gCamera.GetFarZ();
    while (mLastOnScreen != count && farZ >= mEntities[mLastOnScreen]->mZ)
    {
        mEntities[mLastOnScreen]->mOnScreen = true;
        ++mLastOnScreen;
    }

    const float leaveZ = gCamera.GetNearZ() - LEAVE_BEHIND;
    while (mFirstOnScreen < mLastOnScreen && mEntities[mFirstOnScreen]->mZ <= leaveZ)
    {
        mEntities[mFirstOnScreen]->mOnScreen = false;
        ++mFirstOnScreen;
    }

    // Counted out in list order only: a dead entity behind a living one waits.
    while (mFirstAlive != mLastOnScreen && !mEntities[mFirstAlive]->mAlive)
    {
        ++mFirstAlive;
        --mActiveCount;
        std::cout << count << " entities, " << mActiveCount << " active." << std::endl;
    }

    for (size_t i = 0; i < mLastOnScreen; ++i)
    {
        Entity* e = mEntities[i].get();
        if (e->mAlive && !e->Update(player))
            e->mAlive = false;
    }
}

bool Entity_Handler::OverlaysStill() const
{
    for (const Entity* e : mOverlay)
        if (!e->OverlayIsStill())
            return false;
    return true;
}

void Entity_Handler::DrawEntities(Drawn_Runner* runner)
{
    if (mFirstOnScreen != NO_POSITION && mLastOnScreen != NO_POSITION && mLastOnScreen <= mEntities.size())
    {
        for (size_t i = mLastOnScreen; i > mFirstOnScreen; --i)
        {
            Entity* e = mEntities[i - 1].get();
            if (!e->mOnScreen)
                continue;
            Quad box = gCamera.ProjectBox(e->mX, e->mY, 2.0f * e->mSize * e->mHalfWidth,
                                          2.0f * e->mSize * e->mHalfHeight, e->mZ);
            // Far to near: the runner goes in just before the first thing it has reached.
            if (runner && runner->HasReached(*e))
            {
                runner->Draw();
                runner = nullptr;
            }
            gGraphics.DrawAnimation(e->mModel, box);
        }
    }
    if (runner)
        runner->Draw();

    for (Entity* e : mOverlay)
        e->DrawOverlay();
}
