#include "Input/Keys.h"

#include <cstdlib>

Key_Bindings gKeys;

namespace
{
struct Named_Key
{
    int mKey;
    const char* mName;
};
// SDL 1.2's own names need its video part started; the settings file is read before.
const Named_Key NAMED_KEYS[] = {
    {8, "backspace"},     {9, "tab"},          {KEY_RETURN, "return"}, {KEY_ESCAPE, "escape"},
    {KEY_SPACE, "space"}, {39, "quote"},       {44, "comma"},          {45, "minus"},
    {46, "period"},       {47, "slash"},       {59, "semicolon"},      {61, "equals"},
    {91, "left bracket"}, {92, "backslash"},   {93, "right bracket"},  {96, "backquote"},
    {127, "delete"},      {KEY_UP, "up"},      {KEY_DOWN, "down"},     {KEY_RIGHT, "right"},
    {KEY_LEFT, "left"},   {277, "insert"},     {278, "home"},          {279, "end"},
    {280, "page up"},     {281, "page down"},  {KEY_F11, "f11"},       {303, "right shift"},
    {304, "left shift"},  {305, "right ctrl"}, {306, "left ctrl"},     {307, "right alt"},
    {308, "left alt"},
};
} // namespace

std::string KeyName(int key)
{
    if ((key >= 'a' && key <= 'z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    for (const Named_Key& named : NAMED_KEYS)
        if (named.mKey == key)
            return named.mName;
    return "key " + std::to_string(key);
}

int KeyFromName(const std::string& name)
{
    if (name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= '0' && name[0] <= '9')))
        return name[0];
    for (const Named_Key& named : NAMED_KEYS)
        if (name == named.mName)
            return named.mKey;
    if (name.compare(0, 4, "key ") == 0 && name.size() > 4 && name.size() <= 7 &&
        name.find_first_not_of("0123456789", 4) == std::string::npos)
    {
        const int key = std::atoi(name.c_str() + 4);
        // SDL 1.2 key symbols run from 1 to 322.
        return key > 0 && key < 323 ? key : 0;
    }
    return 0;
}
