// Feeds arbitrary text to the high score reader and checks that writing the table back
// keeps every entry and everything the reader left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Game/High_Scores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    High_Scores::Contents contents = High_Scores::Read(in);

    // The rest is a piece of the end of the input, never invented.
    if (contents.mRest.size() > text.size() ||
        text.compare(text.size() - contents.mRest.size(), std::string::npos, contents.mRest) != 0)
        std::abort();

    contents.mEntries.push_back(12345);
    const std::string written = High_Scores::Format(contents);
    High_Scores::Contents again = High_Scores::Parse(written);
    if (again.mEntries != contents.mEntries || again.mRest != contents.mRest)
        std::abort();

    std::vector<uint32_t> top = High_Scores::TopTen(again.mEntries);
    if (top.size() > High_Scores::TABLE_SIZE || top.empty())
        std::abort();
    for (size_t i = 1; i < top.size(); ++i)
        if (top[i - 1] < top[i])
            std::abort();
    return 0;
}
