#include "Graphics/Image_List.h"

#include <limits>

namespace
{

void SkipToken(std::istream& in)
{
    std::string ignored;
    in >> ignored;
}

// A number, or false (and the word read past) where the list has a word instead.
bool ReadNumber(std::istream& in, float& value)
{
    if (in >> value)
        return true;
    in.clear();
    SkipToken(in);
    return false;
}

// The rest of an entry after its key; false when the list ends before the file.
bool ReadEntry(std::istream& in, Image_List_Item& item)
{
    SkipToken(in);
    if (!(in >> item.mFile))
        return false;
    SkipToken(in);
    std::string separator;
    in >> item.mLeft >> separator >> item.mTop >> separator >> item.mRight >> separator >> item.mBottom;
    item.mHasRect = !in.fail();
    if (!item.mHasRect)
    {
        in.clear();
        SkipToken(in);
    }
    SkipToken(in);
    item.mHasWidth = ReadNumber(in, item.mWidth);
    SkipToken(in);
    item.mHasHeight = ReadNumber(in, item.mHeight);
    return true;
}

} // namespace

Image_List ParseImageList(std::istream& in)
{
    Image_List list;
    std::string token;
    bool started = false;
    while (!started && in >> token)
        started = token == "START";
    if (!started)
    {
        list.mErrors.push_back("The image list has no START line: no images were loaded.");
        return list;
    }
    list.mCut = true;
    while (in >> token)
    {
        Image_List_Item item;
        if (token == "END")
        {
            list.mItems.push_back(item);
            list.mCut = false;
            break;
        }
        if (token.compare(0, 2, "//") == 0)
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        else
        {
            item.mKey = token;
            if (!ReadEntry(in, item))
                break;
        }
        list.mItems.push_back(item);
    }
    if (list.mCut)
        list.mErrors.push_back(
            "The image list ends without its END line: only the images before the cut were loaded.");
    return list;
}
