#include "Core/File_Writing.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Writes the whole buffer, riding out short writes and interruptions.
bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0)
    {
        ssize_t n = ::write(fd, data, size);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}
} // namespace

bool ReplaceFile(const std::string& path, const std::string& text)
{
    // Keep the table's permissions across the replacement.
    mode_t mode = 0644;
    struct stat old;
    if (::stat(path.c_str(), &old) == 0)
        mode = old.st_mode & 07777;

    // A fresh name of our own, created exclusively: nothing planted beside the table
    // (a link to another file) is ever opened or followed.
    std::string name = path + ".XXXXXX";
    int fd = ::mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0)
        return false;
    const std::string temporary = name;
    bool ok = ::fchmod(fd, mode) == 0;
    ok = ok && WriteAll(fd, text.data(), text.size());
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
    {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0)
    {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
