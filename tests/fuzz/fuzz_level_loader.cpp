// Feeds arbitrary bytes to the level reader: it must neither crash nor hang, and
// every entity it makes is handed back to us.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Level/Level_Loader.h"
#include "World/Entity.h"

namespace
{
// The reader reports bad records on standard output; keep the run quiet and fast.
struct Quiet
{
    std::stringbuf sink;
    Quiet() { std::cout.rdbuf(&sink); }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Quiet quiet;
    quiet.sink.str(std::string());

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::unique_ptr<Entity>> entities;
    std::vector<Entity*> overlay;
    Level_Loader::Read(in, entities, overlay);
    for (Entity* e : overlay)
    {
        bool owned = false;
        for (const std::unique_ptr<Entity>& o : entities)
            owned = owned || o.get() == e;
        if (!owned)
            __builtin_trap(); // the overlay may only hold entities of the main list
    }
    return 0;
}
