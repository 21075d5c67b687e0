#include "Game/Trace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace
{

// Opened at the first line; a file that cannot be written is said once and the game
// goes on without a trace.
std::FILE* TraceFile()
{
    static bool tried = false;
    static std::FILE* file = nullptr;
    if (tried)
        return file;
    tried = true;
    const char* path = std::getenv("ZQ_TRACE");
    if (!path || !*path)
        return nullptr;
    file = std::fopen(path, "w");
    if (!file)
        std::cerr << "ZQ_TRACE: cannot write " << path << " (" << std::strerror(errno) << "): no trace"
                  << std::endl;
    return file;
}

void Line(const char* what, const char* name, const char* more = "")
{
    std::FILE* file = TraceFile();
    if (!file)
        return;
    std::fprintf(file, "%s %s%s\n", what, name, more);
    // A script reads it while the game runs.
    std::fflush(file);
}

} // namespace

void TraceScreen(const char* name)
{
    Line("screen", name);
}

void TraceLevel(int level, bool restart)
{
    Line("level", std::to_string(level).c_str(), restart ? " restart" : "");
}
