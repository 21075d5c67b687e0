// The image list as text, before any image is read: between a START and an END line,
//   KEY = file.png : left : top : right : bottom : width : height
// a pixel rectangle of the file, then the size as fractions of the screen. A word
// ("full") stands for the whole file or its own size; "//" starts a comment line.
#pragma once

#include <istream>
#include <string>
#include <vector>

struct Image_List_Item
{
    std::string mKey; // empty: a comment or the END, a step of loading that loads nothing
    std::string mFile;
    bool mHasRect = false, mHasWidth = false, mHasHeight = false;
    float mLeft = 0, mTop = 0, mRight = 0, mBottom = 0;
    float mWidth = 0, mHeight = 0;
};

struct Image_List
{
    std::vector<Image_List_Item> mItems; // in the list's order
    bool mCut = false;                   // no END: one more step looked for an item in vain
    std::vector<std::string> mErrors;    // one line each, for whoever wrote the list
};

// Reads to the END line or to the end of the text, whichever comes first.
Image_List ParseImageList(std::istream& in);
