#include "World/Entity.h"

#include <cstring>
#include <iostream>
#include <sstream>

namespace
{
// Read by every type, and only when given: one that is no number reads as 0.
constexpr Entity_Attribute COMMON[] = {{"SIZE", Attribute_Kind::FLOAT, SIZE_RANGE},
                                       {"Y_VALUE", Attribute_Kind::FLOAT, Y_VALUE_RANGE}};

const Entity_Attribute* FindRow(const Entity_Attribute* rows, int count, const char* key)
{
    for (int i = 0; i < count; ++i)
        if (std::strcmp(rows[i].mName, key) == 0)
            return &rows[i];
    return nullptr;
}
} // namespace

void Entity::Init(float x, float z, const std::vector<std::string>& attributes)
{
    mAttributes = attributes;
    mX = x;
    mZ = z;
    mSize = HasAttribute("SIZE") ? static_cast<float>(Get("SIZE")) : 1.0f;
    mY = HasAttribute("Y_VALUE") ? static_cast<float>(Get("Y_VALUE")) : 1.0f;
    Entity::Reset();
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

double Entity::Get(const char* key) const
{
    const Entity_Attribute* row = FindRow(mRows, mRowCount, key);
    if (!row)
        row = FindRow(COMMON, sizeof(COMMON) / sizeof(COMMON[0]), key);
    if (!row)
    {
        std::cout << "Oops, " << key << " is no attribute of this type!" << std::endl;
        return 0.0;
    }
    const std::string text = GetAttribute(key);
    std::istringstream probe(text);
    int32_t whole;
    float real;
    const bool isInt = row->mKind == Attribute_Kind::INT;
    const double value = isInt ? static_cast<double>(ParseInt(text)) : ParseFloat(text);
    if (!(isInt ? static_cast<bool>(probe >> whole) : static_cast<bool>(probe >> real)))
        return row->mDefault;
    if (value >= row->mRange.mMin && value <= row->mRange.mMax)
        return value;
    const double clamped = value > row->mRange.mMax ? row->mRange.mMax : row->mRange.mMin;
    std::cout << "Oops, " << key << " " << value << " is out of range, using " << clamped << "!" << std::endl;
    return clamped;
}
