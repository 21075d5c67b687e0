// The level checker, run as a program the way a level designer runs it: silent on the
// shipped levels, and every planted fault of the broken level found on its own line.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace
{

// The checker is built next to the test folder: build/zqlevel beside build/tests/.
std::string CheckerPath()
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (n <= 0)
        return "zqlevel";
    std::string path(self, static_cast<size_t>(n));
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/zqlevel";
}

struct Run_Result
{
    int mStatus = -1;
    std::string mOutput;
};

Run_Result RunChecker(const std::string& arguments)
{
    Run_Result result;
    const std::string command = CheckerPath() + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        result.mOutput.append(buffer, n);
    const int status = pclose(pipe);
    result.mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool HasFinding(const std::vector<std::string>& lines, const std::string& prefix, const std::string& words)
{
    for (const std::string& line : lines)
        if (line.compare(0, prefix.size(), prefix) == 0 && line.find(words) != std::string::npos)
            return true;
    return false;
}

class Scratch_Folder
{
public:
    Scratch_Folder()
    {
        char name[] = "/tmp/zqlevel-test-XXXXXX";
        mPath = mkdtemp(name) ? name : "/tmp";
    }
    ~Scratch_Folder() { std::system(("rm -rf '" + mPath + "'").c_str()); }
    std::string Write(const std::string& file, const std::string& text)
    {
        const std::string path = mPath + "/" + file;
        std::ofstream out(path.c_str(), std::ios::binary);
        out << text;
        return path;
    }

private:
    std::string mPath;
};

const char* const GOOD = "Hint  Type: 10  Distance: 20  X: 0.5  Attributes: HINT HINT_STEER\n"
                         "Spike Type: 2   Distance: 40  X: 0.5  Attributes: PLACEMENT floor\n"
                         "Rock  Type: 1   Distance: 60  X: 0.5  Attributes:\n";

} // namespace

TEST(LevelChecker, ShippedLevelsAreClean)
{
    ASSERT_EQ(access(CheckerPath().c_str(), X_OK), 0) << CheckerPath() << " is not built";
    std::string files;
    for (int n = 0; n < 8; ++n)
        files += " Data/Levels/Gold/level" + std::to_string(n) + ".zqt";
    const Run_Result run = RunChecker("check" + files);
    EXPECT_EQ(run.mStatus, 0) << run.mOutput;
    EXPECT_EQ(run.mOutput, "");
}

TEST(LevelChecker, FindsEveryFaultOfTheBrokenLevel)
{
    const Run_Result run = RunChecker("check tests/data/levels/broken.zqt");
    EXPECT_EQ(run.mStatus, 1);
    const std::vector<std::string> lines = Lines(run.mOutput);
    const std::string f = "tests/data/levels/broken.zqt:";
    EXPECT_TRUE(HasFinding(lines, f + "2: ", "missing attribute VALUE"));
    EXPECT_TRUE(HasFinding(lines, f + "3: ", "unknown type code 21"));
    EXPECT_TRUE(HasFinding(lines, f + "4: ", "missing attribute PLACEMENT"));
    EXPECT_TRUE(HasFinding(lines, f + "5: ", "PLACEMENT is \"ceiling\""));
    EXPECT_TRUE(HasFinding(lines, f + "6: ", "out of order"));
    EXPECT_TRUE(HasFinding(lines, f + "7: ", "FRAMES 0 is below 1"));
    EXPECT_TRUE(HasFinding(lines, f + "8: ", "CEILING_MUD"));
    EXPECT_TRUE(HasFinding(lines, f + "8: ", "missing attribute HUDTEXTURE"));
    EXPECT_TRUE(HasFinding(lines, f + "9: ", "TREASURE_MISSING"));
    EXPECT_TRUE(HasFinding(lines, f + "9: ", "\"lots\", not a whole number"));
    EXPECT_TRUE(HasFinding(lines, f + "10: ", "HINT_NOPE"));
    EXPECT_TRUE(HasFinding(lines, f + "11: ", "missing attribute FRAMES"));
    EXPECT_TRUE(HasFinding(lines, f + "12: ", "blank before the line end"));
    EXPECT_TRUE(HasFinding(lines, f + "12: ", "up to line 13"));
    EXPECT_TRUE(HasFinding(lines, f + "12: ", "missing attribute Pitch"));
    EXPECT_TRUE(HasFinding(lines, f + "14: ", "fewer than 2 frames"));
    EXPECT_TRUE(HasFinding(lines, f + "15: ", "behind the runner's first step"));
    EXPECT_TRUE(HasFinding(lines, f + "16: ", "broken off"));
    // Well-formed records are left alone, and the swallowed one has no line of its own.
    EXPECT_FALSE(HasFinding(lines, f + "1: ", ""));
    EXPECT_FALSE(HasFinding(lines, f + "13: ", ""));
    for (const std::string& line : lines)
        EXPECT_EQ(line.compare(0, f.size(), f), 0) << line;
}

TEST(LevelChecker, LineEndsAndFileEnds)
{
    Scratch_Folder scratch;
    std::string crlf;
    for (char c : std::string(GOOD))
    {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    std::string noFinalLineEnd = GOOD;
    noFinalLineEnd.pop_back();
    std::string blankBeforeCrlf = crlf;
    blankBeforeCrlf.insert(blankBeforeCrlf.find("floor") + 5, " ");

    Run_Result run =
        RunChecker("check " + scratch.Write("good.zqt", GOOD) + " " + scratch.Write("crlf.zqt", crlf) + " " +
                   scratch.Write("open_end.zqt", noFinalLineEnd));
    EXPECT_EQ(run.mStatus, 0) << run.mOutput;
    EXPECT_EQ(run.mOutput, "");

    run = RunChecker("check " + scratch.Write("blank.zqt", blankBeforeCrlf));
    EXPECT_EQ(run.mStatus, 1);
    EXPECT_NE(run.mOutput.find("blank.zqt:2: blank before the line end"), std::string::npos) << run.mOutput;

    run = RunChecker("check " + scratch.Write("empty.zqt", " \n\n"));
    EXPECT_EQ(run.mStatus, 1);
    EXPECT_NE(run.mOutput.find("no records"), std::string::npos) << run.mOutput;

    // Two treasures that together pass the largest score: flagged once, where it happens.
    const std::string rich = "T: 0 D: 1 X: 0.5 A: IMAGE COIN VALUE 2000000000\n";
    run = RunChecker("check " + scratch.Write("rich.zqt", rich + rich + rich));
    EXPECT_EQ(run.mStatus, 1);
    EXPECT_NE(run.mOutput.find("rich.zqt:2: Treasure: the score values up to here add up to 4000000000"),
              std::string::npos)
        << run.mOutput;
    EXPECT_EQ(run.mOutput.find("rich.zqt:3: Treasure: the score"), std::string::npos) << run.mOutput;

    // Counts and sizes the game clamps: one finding each, not a second for the game's own line.
    const std::string wild =
        "T: 13 D: 1 X: 0.5 A: R 0 G 0 B 0 PERCENT 0.5 START_DIST 1 END_DIST 9 FRAMES 1e10\n"
        "T: 1 D: 2 X: 0.5 A: SIZE -1.5 Y_VALUE 40\n"
        "T: 11 D: 3 X: 0.5 A: HalfWidth 0.5 Distance 99999 Yaw 0 Pitch 0\n"
        "T: 1 D: 4 X: 0.5 A: SIZE 100 Y_VALUE -1\n";
    const std::string w = scratch.Write("wild.zqt", wild);
    run = RunChecker("check " + w);
    EXPECT_EQ(run.mStatus, 1);
    EXPECT_EQ(run.mOutput, w + ":1: Fog_Trigger: FRAMES 1e10 is above 36000 (the game uses 36000)\n" + w +
                               ":2: Rock: SIZE -1.5 is below 0.01 (the game uses 0.01)\n" + w +
                               ":2: Rock: Y_VALUE 40 is above 2 (the game uses 2)\n" + w +
                               ":3: Camera_Trigger: Distance 99999 is above 36000 (the game uses 36000)\n");
}

TEST(LevelChecker, CannotCheckIsNotClean)
{
    Scratch_Folder scratch;
    const std::string good = scratch.Write("good.zqt", GOOD);
    EXPECT_EQ(RunChecker("check " + scratch.Write("none.zqt", "") + "/missing.zqt").mStatus, 1);
    EXPECT_EQ(RunChecker("check --images /nonexistent/image_info.zqt " + good).mStatus, 2);
    EXPECT_EQ(RunChecker("check").mStatus, 2);
    EXPECT_EQ(RunChecker("").mStatus, 2);
    // A smaller image list turns known pictures into findings.
    const std::string list = scratch.Write("list.zqt", "START\nHINT_JUMP = a.png : full : 0.3 : 0.3\nEND\n");
    const Run_Result run = RunChecker("check --images " + list + " " + good);
    EXPECT_EQ(run.mStatus, 1);
    EXPECT_NE(run.mOutput.find("HINT_STEER"), std::string::npos) << run.mOutput;
}
