#include "World/Entity.h"

#include <iostream>
#include <sstream>

namespace
{
// A value that is no number stays 0 with its one message; a number is held to the range.
float ReadInRange(const Entity& e, const std::string& name, Attribute_Range range)
{
    const std::string text = e.GetAttribute(name);
    const float value = Entity::ParseFloat(text);
    std::istringstream probe(text);
    float readable;
    return (probe >> readable) ? Entity::ClampToRange(name, value, range) : value;
}
} // namespace

Entity::Entity()
    : mAlive(false), mInOverlayList(false), mScoreValue(0), mHalfWidth(0.0f), mHalfHeight(0.0f), mSize(1.0f),
      mX(0.0f), mY(1.0f), mZ(0.0f), mVanishOnTouch(false), mSolid(false), mHoldable(false), mOnScreen(false)
{
}

Entity::~Entity() {}

void Entity::Init(float x, float z, const std::vector<std::string>& attributes)
{
    mAttributes = attributes;
    mX = x;
    mZ = z;
    mY = 1.0f;
    mSize = 1.0f;
    if (HasAttribute("SIZE"))
        mSize = ReadInRange(*this, "SIZE", SIZE_RANGE);
    if (HasAttribute("Y_VALUE"))
        mY = ReadInRange(*this, "Y_VALUE", Y_VALUE_RANGE);
    mSolid = true;
    mOnScreen = false;
    mAlive = true;
}

bool Entity::Update(Player&)
{
    // Only the current set ticks: a finished set stays on its last frame.
    if (mOnScreen && mModel.mCurrentSet >= 0 && static_cast<size_t>(mModel.mCurrentSet) < mModel.mSets.size())
        mModel.GetCurrentSet().Update(1);
    return mOnScreen;
}

void Entity::Reset()
{
    mSolid = true;
    mOnScreen = false;
    mAlive = true;
}

bool Entity::HasAttribute(const std::string& name) const
{
    // Names and values are not told apart: the first matching word wins.
    for (size_t i = 0; i < mAttributes.size(); ++i)
        if (mAttributes[i] == name)
            return i + 1 < mAttributes.size();
    return false;
}

std::string Entity::GetAttribute(const std::string& name) const
{
    for (size_t i = 0; i < mAttributes.size(); ++i)
    {
        if (mAttributes[i] == name)
        {
            if (i + 1 < mAttributes.size())
                return mAttributes[i + 1];
            break;
        }
    }
    std::cout << "Oops, " << name << " is not an attribute!" << std::endl;
    return std::string();
}

float Entity::ParseFloat(const std::string& text)
{
    std::istringstream in(text);
    float value = 0.0f;
    if (!(in >> value))
    {
        // Out of range reads as a failure too; the caller carries on with 0.
        std::cout << "Oops, " << text << " is not a float!" << std::endl;
        return 0.0f;
    }
    return value;
}

int32_t Entity::ParseInt(const std::string& text)
{
    std::istringstream in(text);
    int32_t value = 0;
    if (!(in >> value))
    {
        std::cout << "Oops, " << text << " is not an int!" << std::endl;
        return 0;
    }
    return value;
}

float Entity::ClampToRange(const std::string& name, float value, Attribute_Range range)
{
    if (value >= range.mMin && value <= range.mMax)
        return value;
    const float clamped = value > range.mMax ? range.mMax : range.mMin;
    std::cout << "Oops, " << name << " " << value << " is out of range, using " << clamped << "!"
              << std::endl;
    return clamped;
}
