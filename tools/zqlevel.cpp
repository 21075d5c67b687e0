// zqlevel: checks level files before they ship, and lists them for the level map.
//
//   zqlevel check [--images LIST] FILE...
//   zqlevel dump FILE
//
// Each file is read with the game's own record reader and each record is built into
// the game's own entity, so what is reported is what the game would complain about or
// quietly get wrong: unknown type codes, records out of order, attributes a type needs
// but lacks, a blank at the end of an attribute line (which pulls the next record's
// first word into this one), FRAMES below 1, and picture keys the image list does not
// have. Findings are printed as "file:line: message"; the exit status is 1 if there
// were any, 2 if the tool could not run.
//
// dump prints each record as the game builds it, one tab-separated line per record:
// line, code, type name, distance, x, y, size, half width, half height (the sizes the
// game gives it, from the image list), then its attribute words. tools/zqlevel map
// draws the level from this list.

#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Constants.h"
#include "Graphics/Image_Bank.h"
#include "Level/Entity_Types.h"
#include "Level/Level_Loader.h"
#include "World/Entity.h"

namespace
{

struct Finding
{
    int mLine;
    std::string mMessage;
};

std::string ShortNumber(float v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

// A number outside the span the game allows; the game takes the nearer end.
void CheckRange(std::vector<Finding>& findings, int line, const std::string& type, const std::string& name,
                const std::string& text, float v, Attribute_Range range)
{
    if (v < range.mMin)
        findings.push_back({line, type + ": " + name + " " + text + " is below " + ShortNumber(range.mMin) +
                                      " (the game uses " + ShortNumber(range.mMin) + ")"});
    else if (v > range.mMax)
        findings.push_back({line, type + ": " + name + " " + text + " is above " + ShortNumber(range.mMax) +
                                      " (the game uses " + ShortNumber(range.mMax) + ")"});
}

// The keys of the image list, read by the list's own rules: tokens, a preamble up to
// START, "//" comments to the end of the line, entries until END.
bool ReadImageKeys(const std::string& path, std::set<std::string>& keys)
{
    std::ifstream in(path.c_str());
    if (!in.is_open())
        return false;
    std::string token;
    while (in >> token && token != "START")
    {
    }
    auto beginsLikeNumber = [](const std::string& t)
    {
        return !t.empty() &&
               (isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-' || t[0] == '+' || t[0] == '.');
    };
    while (in >> token && token != "END")
    {
        if (token.compare(0, 2, "//") == 0)
        {
            std::string rest;
            std::getline(in, rest);
            continue;
        }
        keys.insert(token);
        std::string skip, rect;
        in >> skip >> skip >> skip >> rect; // separator, file, separator, rectangle
        if (beginsLikeNumber(rect))
            for (int i = 0; i < 6; ++i) // the other three numbers, separators between
                in >> skip;
        in >> skip >> skip >> skip >> skip; // separator, width, separator, height
    }
    return true;
}

class Level_Checker
{
public:
    explicit Level_Checker(const std::set<std::string>& imageKeys) : mImageKeys(imageKeys) {}

    std::vector<Finding> Check(const std::string& text);

private:
    int LineAt(std::streamoff offset) const;
    void CheckRecord(int line, int code, const std::vector<std::string>& words, float x, float z,
                     std::vector<Finding>& findings);

    const std::set<std::string>& mImageKeys;
    std::vector<size_t> mLineStarts;
    int64_t mScoreSum = 0; // what collecting everything would pay
};

int Level_Checker::LineAt(std::streamoff offset) const
{
    size_t line = 0;
    while (line + 1 < mLineStarts.size() && mLineStarts[line + 1] <= static_cast<size_t>(offset))
        ++line;
    return static_cast<int>(line) + 1;
}

// Captures what the game writes to standard output while the guard lives.
class Output_Capture
{
public:
    Output_Capture() : mSaved(std::cout.rdbuf(mText.rdbuf())) {}
    ~Output_Capture() { std::cout.rdbuf(mSaved); }
    std::vector<std::string> Lines()
    {
        std::cout.flush();
        std::vector<std::string> lines;
        std::string line;
        std::istringstream in(mText.str());
        while (std::getline(in, line))
            if (!line.empty())
                lines.push_back(line);
        mText.str("");
        return lines;
    }

private:
    std::ostringstream mText;
    std::streambuf* mSaved;
};

std::vector<Finding> Level_Checker::Check(const std::string& text)
{
    std::vector<Finding> findings;
    mScoreSum = 0;
    mLineStarts.assign(1, 0);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            mLineStarts.push_back(i + 1);

    std::istringstream in(text);
    bool first = true;
    float previous = 0.0f;
    int records = 0;
    for (;;)
    {
        char c;
        if (!(in >> c))
            break;
        const std::streamoff start = static_cast<std::streamoff>(in.tellg()) - 1;
        const int line = LineAt(start);

        int code = 0;
        float distance = 0.0f, x = 0.0f;
        bool complete;
        std::vector<std::string> said;
        {
            Output_Capture capture;
            complete = Level_Loader::ReadIntField(in, code) && Level_Loader::ReadFloatField(in, distance) &&
                       Level_Loader::ReadFloatField(in, x);
            said = capture.Lines();
        }
        if (!complete)
        {
            std::string message = "record broken off: type, distance and position must each follow a "
                                  "label and a colon (the game stops loading and quits here)";
            for (const std::string& s : said)
                message += "; the game says \"" + s + "\"";
            findings.push_back({line, message});
            return findings;
        }

        // The attribute line: a blank right before its line end lets the list run on
        // into the following lines, up to the first word that a line end follows directly.
        in.clear();
        const std::streamoff afterNumbers = in.tellg();
        const size_t colon = text.find(':', static_cast<size_t>(afterNumbers));
        bool trailingBlank = false;
        if (colon != std::string::npos)
        {
            size_t end = text.find('\n', colon);
            if (end != std::string::npos)
            {
                size_t last = end;
                if (last > colon + 1 && text[last - 1] == '\r')
                    --last;
                trailingBlank = last > colon + 1 && (text[last - 1] == ' ' || text[last - 1] == '\t');
            }
        }
        std::vector<std::string> words;
        Level_Loader::ReadAttributeWords(in, words);
        in.clear();
        if (trailingBlank)
        {
            const int colonLine = LineAt(static_cast<std::streamoff>(colon));
            std::streamoff after = in.tellg();
            if (after < 0)
                after = static_cast<std::streamoff>(text.size());
            const int endLine = LineAt(after > 0 ? after - 1 : 0);
            std::string message = "blank before the line end: the attribute words run on into the next line";
            if (endLine > colonLine)
                message += " and swallow everything up to line " + std::to_string(endLine);
            findings.push_back({colonLine, message});
        }

        if (distance < 1.0f)
        {
            std::ostringstream message;
            message << "distance " << distance << " lies behind the runner's first step: it is never touched";
            findings.push_back({line, message.str()});
        }
        if (!first && distance < previous)
        {
            std::ostringstream message;
            message << "records out of order: distance " << distance << " comes after " << previous;
            findings.push_back({line, message.str()});
        }
        first = false;
        previous = distance;
        ++records;

        CheckRecord(line, code, words, x, distance + LEVEL_Z_OFFSET, findings);
    }
    if (records == 0)
        findings.push_back({1, "no records: the level would be over before it starts"});
    return findings;
}

void Level_Checker::CheckRecord(int line, int code, const std::vector<std::string>& words, float x, float z,
                                std::vector<Finding>& findings)
{
    const Entity_Type* type = FindEntityType(code);
    if (!type)
    {
        findings.push_back(
            {line, "unknown type code " + std::to_string(code) + ": the game skips the record"});
        return;
    }
    const std::string name = type->mName;
    if (words.size() % 2 != 0)
        findings.push_back({line, name + ": " + std::to_string(words.size()) +
                                      " attribute words, but names and values come in pairs"});

    // Build the real entity; whatever it prints while reading its record is a finding.
    std::vector<std::string> said;
    std::unique_ptr<Entity> entity;
    {
        Output_Capture capture;
        entity = CreateEntity(code);
        if (entity)
        {
            entity->Init(x, z, words);
            entity->Setup();
        }
        said = capture.Lines();
    }
    if (!entity)
        return;

    // The game stops the score at the ends of its range; a level that can reach them
    // has values nobody meant.
    const int64_t before = mScoreSum;
    mScoreSum += entity->mScoreValue;
    const bool outside = mScoreSum > INT32_MAX || mScoreSum < INT32_MIN;
    if (outside && !(before > INT32_MAX || before < INT32_MIN))
        findings.push_back({line, name + ": the score values up to here add up to " +
                                      std::to_string(mScoreSum) +
                                      ", past what a score can hold (the game stops the score there)"});

    std::set<std::string> missing;
    {
        for (int i = 0; i < type->mAttributeCount; ++i)
        {
            const Entity_Attribute& rule = type->mAttributes[i];
            if (!entity->HasAttribute(rule.mName))
            {
                missing.insert(rule.mName);
                findings.push_back({line, name + ": missing attribute " + rule.mName});
                continue;
            }
            std::string value;
            {
                Output_Capture quiet;
                value = entity->GetAttribute(rule.mName);
            }
            std::istringstream number(value);
            if (rule.mKind == Attribute_Kind::INT)
            {
                int v;
                if (!(number >> v))
                    findings.push_back(
                        {line, name + ": " + rule.mName + " is \"" + value + "\", not a whole number"});
                else
                    CheckRange(findings, line, name, rule.mName, value, static_cast<float>(v), rule.mRange);
            }
            else if (rule.mKind == Attribute_Kind::FLOAT)
            {
                float v;
                if (!(number >> v))
                    findings.push_back(
                        {line, name + ": " + rule.mName + " is \"" + value + "\", not a number"});
                else
                    CheckRange(findings, line, name, rule.mName, value, v, rule.mRange);
            }
            else if (rule.mKind == Attribute_Kind::IMAGE_KEY)
            {
                if (value != "None" && value != "NONE" && !mImageKeys.count(value))
                    findings.push_back({line, name + ": picture key " + value + " (" + rule.mName +
                                                  ") is not in the image list"});
            }
        }
    }
    if (code == 2 && !missing.count("PLACEMENT"))
    {
        Output_Capture quiet;
        const std::string placement = entity->GetAttribute("PLACEMENT");
        if (placement != "floor" && placement != "left" && placement != "right")
            findings.push_back(
                {line, name + ": PLACEMENT is \"" + placement + "\", not floor, left or right"});
    }
    if (code == 11 && !missing.count("Distance"))
    {
        Output_Capture quiet;
        if (Entity::ParseInt(entity->GetAttribute("Distance")) < 2)
            findings.push_back({line, name + ": a glide of fewer than 2 frames (Distance) never moves"});
    }
    for (const char* common : {"SIZE", "Y_VALUE"})
    {
        if (entity->HasAttribute(common))
        {
            Output_Capture quiet;
            std::istringstream number(entity->GetAttribute(common));
            float v;
            if (!(number >> v))
                findings.push_back({line, name + ": " + common + " is not a number"});
            else
                CheckRange(findings, line, name, common, number.str(), v,
                           std::string(common) == "SIZE" ? SIZE_RANGE : Y_VALUE_RANGE);
        }
    }

    // The game's own complaints, less those that only repeat a missing attribute.
    for (const std::string& s : said)
    {
        bool repeat = false;
        for (const std::string& m : missing)
            if (s.find(" " + m + " ") != std::string::npos)
                repeat = true;
        if (!missing.empty() && (s == "Oops,  is not an int!" || s == "Oops,  is not a float!"))
            repeat = true;
        if (s.find(" is out of range, using ") != std::string::npos) // found by the range check
            repeat = true;
        if (!repeat)
            findings.push_back({line, name + ": the game says \"" + s + "\""});
    }
}

int Usage()
{
    std::cerr << "usage: zqlevel check [--images IMAGE_LIST] FILE...\n"
                 "       zqlevel dump FILE\n"
                 "check: prints file:line: message for every fault found.\n"
                 "Exit status: 0 clean, 1 faults found, 2 the check could not run.\n"
                 "dump: one line per record as the game builds it, for the level map.\n";
    return 2;
}

int Dump(const std::string& file)
{
    std::ifstream in(file.c_str(), std::ios::binary);
    if (!in.is_open())
    {
        std::cerr << "zqlevel: cannot open " << file << std::endl;
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    std::vector<std::string> lines;
    {
        // The image sizes make the boxes; the game's words while loading are not ours.
        Output_Capture quiet;
        if (!gImageBank.LoadImageList(IMAGE_PATH, IMAGE_INFO_FILE, nullptr))
        {
            std::cerr << "zqlevel: cannot read the image list (run from the game's folder)" << std::endl;
            return 2;
        }
    }
    std::istringstream records(all);
    size_t lineStart = 0;
    int line = 1;
    char c;
    while (records >> c)
    {
        const size_t at = static_cast<size_t>(records.tellg()) - 1;
        for (; lineStart < at; ++lineStart)
            if (all[lineStart] == '\n')
                ++line;
        int code = 0;
        float distance = 0.0f, x = 0.0f;
        std::vector<std::string> words;
        {
            Output_Capture quiet;
            if (!Level_Loader::ReadIntField(records, code) ||
                !Level_Loader::ReadFloatField(records, distance) || !Level_Loader::ReadFloatField(records, x))
            {
                std::cerr << file << ":" << line << ": record broken off; run zqlevel check" << std::endl;
                return 1;
            }
            Level_Loader::ReadAttributeWords(records, words);
        }
        records.clear();
        const Entity_Type* type = FindEntityType(code);
        if (!type)
            continue;
        std::unique_ptr<Entity> e;
        {
            Output_Capture quiet;
            e = CreateEntity(code);
            e->Init(x, distance + LEVEL_Z_OFFSET, words);
            e->Setup();
        }
        std::cout << line << "\t" << code << "\t" << type->mName << "\t" << distance << "\t" << e->mX << "\t"
                  << e->mY << "\t" << e->mSize << "\t" << e->mHalfWidth << "\t" << e->mHalfHeight;
        for (const std::string& w : words)
            std::cout << "\t" << w;
        std::cout << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "dump")
        return Dump(argv[2]);
    if (argc < 2 || std::string(argv[1]) != "check")
        return Usage();
    std::string imageList = IMAGE_PATH + IMAGE_INFO_FILE;
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--images" && i + 1 < argc)
            imageList = argv[++i];
        else if (arg.compare(0, 2, "--") == 0)
            return Usage();
        else
            files.push_back(arg);
    }
    if (files.empty())
        return Usage();

    std::set<std::string> imageKeys;
    if (!ReadImageKeys(imageList, imageKeys))
    {
        std::cerr << "zqlevel: cannot read the image list " << imageList
                  << " (run from the game's folder, or give --images)" << std::endl;
        return 2;
    }

    Level_Checker checker(imageKeys);
    int total = 0;
    bool unreadable = false;
    for (const std::string& file : files)
    {
        std::ifstream in(file.c_str(), std::ios::binary);
        if (!in.is_open())
        {
            std::cout << file << ": cannot be opened" << std::endl;
            unreadable = true;
            continue;
        }
        std::ostringstream text;
        text << in.rdbuf();
        for (const Finding& f : checker.Check(text.str()))
        {
            std::cout << file << ":" << f.mLine << ": " << f.mMessage << "\n";
            ++total;
        }
    }
    std::cout.flush();
    if (total > 0)
        std::cerr << total << " finding" << (total == 1 ? "" : "s") << std::endl;
    return total > 0 || unreadable ? 1 : 0;
}
