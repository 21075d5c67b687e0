// Feeds arbitrary text to the image list reader. The folder does not exist, so no
// image is opened and no window is needed: this exercises the token rules alone.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "Graphics/Image_Bank.h"

namespace
{

int gCalls = 0;

bool CountCalls(bool)
{
    ++gCalls;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = []
    {
        std::cout.setstate(std::ios::failbit);
        return true;
    }();
    (void)quiet;

    Image_Bank bank;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    gCalls = 0;
    const bool done = bank.ReadImageList(in, "/nonexistent-zq-fuzz/", CountCalls);
    // Every pass of the reader takes at least one token, and it always finishes
    // with the final hold.
    if (!done || gCalls > static_cast<int>(size) + 2)
        __builtin_trap();
    for (const auto& item : bank.GetImages())
        if (item.second.mTexture != 0)
            __builtin_trap();
    return 0;
}
