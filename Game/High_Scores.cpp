#include "Game/High_Scores.h"

#include "Core/File_Writing.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <functional>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

High_Scores::Contents High_Scores::Parse(const std::string& text)
{
    Contents contents;
    size_t pos = 0;
    const size_t size = text.size();
    for (;;)
    {
        while (pos < size && IsSpace(text[pos]))
            ++pos;
        if (pos >= size)
            break;
        if (text[pos] == 'E')
        {
            contents.mRest = text.substr(pos + 1);
            return contents;
        }
        if (!IsDigit(text[pos]))
            break;
        uint64_t value = 0;
        size_t end = pos;
        bool overflow = false;
        while (end < size && IsDigit(text[end]))
        {
            value = value * 10 + static_cast<uint64_t>(text[end] - '0');
            if (value > UINT32_MAX)
            {
                overflow = true;
                break;
            }
            ++end;
        }
        if (overflow)
            break;
        contents.mEntries.push_back(static_cast<uint32_t>(value));
        pos = end;
    }
    contents.mRest = text.substr(pos);
    return contents;
}

High_Scores::Contents High_Scores::Read(std::istream& in)
{
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(text);
}

void High_Scores::Write(std::ostream& out, const Contents& contents)
{
    for (size_t i = 0; i < contents.mEntries.size(); ++i)
    {
        if (i > 0)
            out << ' ';
        out << contents.mEntries[i];
    }
    out << 'E' << contents.mRest;
}

std::string High_Scores::Format(const Contents& contents)
{
    std::ostringstream out;
    Write(out, contents);
    return out.str();
}

std::vector<uint32_t> High_Scores::TopTen(std::vector<uint32_t> entries)
{
    std::sort(entries.begin(), entries.end(), std::greater<uint32_t>());
    if (entries.size() > TABLE_SIZE)
        entries.resize(TABLE_SIZE);
    return entries;
}

bool High_Scores::MadeTopTen(uint32_t score, const std::vector<uint32_t>& table)
{
    // The table shown holds the new score whenever it made it, so look for it there:
    // beating the smallest entry shown cannot work when that entry is the score itself.
    return std::find(table.begin(), table.end(), score) != table.end();
}

std::vector<High_Scores::Table_Line> High_Scores::Lines(const std::vector<uint32_t>& table, uint32_t score)
{
    std::vector<Table_Line> lines;
    for (size_t i = 0; i < table.size(); ++i)
        lines.push_back(
            Table_Line{std::to_string(table[i]), 0.8f - 0.1f * static_cast<float>(i), table[i] == score});
    return lines;
}

High_Scores::Result High_Scores::Record(const std::string& path, uint32_t score,
                                        std::vector<uint32_t>& entries)
{
    entries.clear();
    // Opened for reading and writing without creating it: a table that is missing or
    // cannot be written to is not ours to make, and neither is one behind a link or
    // anything but a plain file.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return NOT_OPENED;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
    {
        ::close(fd);
        return NOT_OPENED;
    }
    // A damaged or planted huge file is not read whole: past the cap it is shown from
    // its start and left as it is.
    std::string text;
    char buffer[65536];
    while (text.size() <= READ_LIMIT)
    {
        const ssize_t n = ::read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    const bool tooLarge = text.size() > READ_LIMIT;
    if (tooLarge)
        text.resize(READ_LIMIT);
    Contents contents = Parse(text);

    contents.mEntries.push_back(score);
    entries = contents.mEntries;
    if (tooLarge)
        return NOT_SAVED;
    return ReplaceFile(path, Format(contents)) ? RECORDED : NOT_SAVED;
}
