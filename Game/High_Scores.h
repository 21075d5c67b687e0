// The high score file keeps every score ever recorded, oldest first, as decimal numbers
// separated by single spaces and closed by "E". Whatever follows the "E" (or a damaged
// stretch the reader could not take) is kept as it is, behind the new "E".
// The file is the game's only lasting data, so it is replaced whole, never patched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class High_Scores
{
public:
    static const size_t TABLE_SIZE = 10;
    // More than any table a player fills (a hundred thousand games); a larger file is
    // read this far, shown, and not rewritten.
    static const size_t READ_LIMIT = 1 << 20;

    struct Contents
    {
        std::vector<uint32_t> mEntries; // in file order
        std::string mRest;              // the text after the "E", or from where reading stopped
    };

    enum Result
    {
        RECORDED,   // the file now holds the new score
        NOT_OPENED, // missing or not writable: nothing was recorded
        NOT_SAVED   // read, but the new file could not be put in place: the old one stands
    };

    // Takes entries until the "E", the end, or the first thing that is not a plain
    // unsigned 32-bit number (signs and overflowing numbers count as damage).
    static Contents Read(std::istream& in);
    static Contents Parse(const std::string& text);
    // The entries joined by single spaces, "E", then the rest unchanged.
    static void Write(std::ostream& out, const Contents& contents);
    static std::string Format(const Contents& contents);

    // The best TABLE_SIZE entries, largest first.
    static std::vector<uint32_t> TopTen(std::vector<uint32_t> entries);
    // The score is among the entries shown (the table is made with it).
    static bool MadeTopTen(uint32_t score, const std::vector<uint32_t>& table);

    // One line of the table as shown: the entry, where it stands, and whether it is the
    // player's own score (every entry equal to it is).
    struct Table_Line
    {
        std::string mText;
        float mY;
        bool mHighlighted;
    };
    static std::vector<Table_Line> Lines(const std::vector<uint32_t>& table, uint32_t score);

    // Appends the score to the file at path. Every entry of the file, the new one last,
    // is left in entries. The new content goes to a fresh file beside it, is flushed to disk
    // and renamed over the old file, so a crash leaves either the old or the new table.
    static Result Record(const std::string& path, uint32_t score, std::vector<uint32_t>& entries);
};
