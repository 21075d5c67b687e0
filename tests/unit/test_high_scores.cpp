#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "Core/File_Writing.h"
#include "Game/High_Scores.h"

namespace
{
typedef std::vector<uint32_t> Scores;

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// A scratch folder of its own for each test, removed afterwards.
class HighScoreFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zq_scores_XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        mDir = pattern;
        mPath = mDir + "/highscores.txt";
    }
    void TearDown() override { std::system(("rm -rf '" + mDir + "'").c_str()); }
    // The names in the folder, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(mDir.c_str()))
        {
            while (dirent* e = ::readdir(d))
                if (e->d_name[0] != '.')
                    names.push_back(e->d_name);
            ::closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string mDir, mPath;
};

std::string Appended(const std::string& before, uint32_t score)
{
    High_Scores::Contents c = High_Scores::Parse(before);
    c.mEntries.push_back(score);
    return High_Scores::Format(c);
}
} // namespace

TEST(HighScores, ReadsAnyWhiteSpaceWithOrWithoutTheEnd)
{
    EXPECT_EQ((Scores{120, 45}), High_Scores::Parse("120 45E").mEntries);
    EXPECT_EQ((Scores{120, 45, 7}), High_Scores::Parse("  120\n\t45\r\n 7 \nE").mEntries);
    EXPECT_EQ((Scores{120, 45}), High_Scores::Parse("120 45").mEntries);
    EXPECT_EQ((Scores{120, 45}), High_Scores::Parse("120 45\n").mEntries);
    EXPECT_TRUE(High_Scores::Parse("E").mEntries.empty());
    EXPECT_TRUE(High_Scores::Parse("").mEntries.empty());
    EXPECT_EQ((Scores{4294967295u}), High_Scores::Parse("4294967295E").mEntries);

    std::istringstream in("3 2 1E");
    EXPECT_EQ((Scores{3, 2, 1}), High_Scores::Read(in).mEntries);
}

TEST(HighScores, RewritesOldEntriesThenTheNewOneThenTheEnd)
{
    EXPECT_EQ("120 45 300E", Appended("120 45E", 300));
    EXPECT_EQ("50E", Appended("E", 50));
    EXPECT_EQ("50E", Appended("", 50));
    // Loose spacing and a missing end come back in the tidy form.
    EXPECT_EQ("1 2 3E", Appended(" 1\n\n2", 3));
}

TEST(HighScores, KeepsWhateverFollowsTheEndOrTheDamage)
{
    // After the "E": kept untouched, however long.
    EXPECT_EQ("120 45 300E\nnotes: best run ever", Appended("120 45E\nnotes: best run ever", 300));
    EXPECT_EQ("9E123 456E", Appended("E123 456E", 9));

    // A damaged entry ends the reading; it and all after it stay behind the new "E".
    EXPECT_EQ("120 45 300Ex7 junk", Appended("120 45 x7 junk", 300));
    // Signs and numbers too large for the table are damage, not scores.
    EXPECT_EQ("10 5E-3 4", Appended("10 -3 4", 5));
    EXPECT_EQ("10 5E+3", Appended("10 +3", 5));
    EXPECT_EQ("10 5E4294967296 1", Appended("10 4294967296 1", 5));
    // A number run into letters keeps the number and the letters.
    EXPECT_EQ("12 5EabcE", Appended("12abcE", 5));

    // What was written reads back the same, rest and all.
    High_Scores::Contents again = High_Scores::Parse("120 45 300Ex7 junk");
    EXPECT_EQ((Scores{120, 45, 300}), again.mEntries);
    EXPECT_EQ("x7 junk", again.mRest);
}

TEST(HighScores, TopTenIsSortedLargestFirstAndCut)
{
    Scores all{5, 3000000000u, 7, 7, 1, 2, 9, 4, 8, 6, 10, 11};
    Scores top = High_Scores::TopTen(all);
    EXPECT_EQ((Scores{3000000000u, 11, 10, 9, 8, 7, 7, 6, 5, 4}), top);
    EXPECT_EQ((Scores{2, 1}), High_Scores::TopTen(Scores{1, 2}));

    // The table is made with the new score: being shown, even as the smallest entry or
    // alone in a first table, is making it; only a score cut from the table did not.
    EXPECT_TRUE(High_Scores::MadeTopTen(5, top));
    EXPECT_TRUE(High_Scores::MadeTopTen(4, top));
    EXPECT_TRUE(High_Scores::MadeTopTen(50, High_Scores::TopTen(Scores{50})));
    EXPECT_FALSE(High_Scores::MadeTopTen(3, top));
    EXPECT_FALSE(High_Scores::MadeTopTen(3000000001u, Scores{3000000000u}));
    EXPECT_FALSE(High_Scores::MadeTopTen(1, Scores{}));
}

TEST(HighScores, TableLinesHighlightEveryEntryEqualToTheScore)
{
    std::vector<High_Scores::Table_Line> lines = High_Scores::Lines(Scores{3000000000u, 70, 50, 50, 20}, 50);
    ASSERT_EQ(5u, lines.size());
    // Large scores print as the unsigned numbers they are.
    EXPECT_EQ("3000000000", lines[0].mText);
    EXPECT_FALSE(lines[0].mHighlighted);
    EXPECT_FALSE(lines[1].mHighlighted);
    EXPECT_TRUE(lines[2].mHighlighted);
    EXPECT_TRUE(lines[3].mHighlighted);
    EXPECT_FALSE(lines[4].mHighlighted);
    EXPECT_FLOAT_EQ(0.8f, lines[0].mY);
    EXPECT_NEAR(0.4f, lines[4].mY, 1e-6);
    EXPECT_NEAR(-0.1f, High_Scores::Lines(Scores(10, 1), 1)[9].mY, 1e-6);
}

TEST_F(HighScoreFile, EveryGameAddsOneEntryAndNothingIsLost)
{
    Spit(mPath, "E");
    Scores entries;
    ASSERT_EQ(High_Scores::RECORDED, High_Scores::Record(mPath, 50, entries));
    EXPECT_EQ("50E", Slurp(mPath));
    EXPECT_EQ((Scores{50}), entries);

    ASSERT_EQ(High_Scores::RECORDED, High_Scores::Record(mPath, 20, entries));
    ASSERT_EQ(High_Scores::RECORDED, High_Scores::Record(mPath, 70, entries));
    EXPECT_EQ("50 20 70E", Slurp(mPath));
    EXPECT_EQ((Scores{50, 20, 70}), entries);
    EXPECT_FALSE(Exists(mPath + ".tmp"));

    // Eleven games, all better than the twelfth: the file keeps all twelve.
    Spit(mPath, "100 101 102 103 104 105 106 107 108 109E tail");
    ASSERT_EQ(High_Scores::RECORDED, High_Scores::Record(mPath, 3, entries));
    EXPECT_EQ("100 101 102 103 104 105 106 107 108 109 3E tail", Slurp(mPath));
    Scores top = High_Scores::TopTen(entries);
    EXPECT_EQ(10u, top.size());
    EXPECT_EQ(100u, top.back());
    EXPECT_FALSE(High_Scores::MadeTopTen(3, top));
}

TEST_F(HighScoreFile, KeepsThePermissionsOfTheTable)
{
    Spit(mPath, "1E");
    ASSERT_EQ(0, ::chmod(mPath.c_str(), 0640));
    Scores entries;
    ASSERT_EQ(High_Scores::RECORDED, High_Scores::Record(mPath, 2, entries));
    struct stat st;
    ASSERT_EQ(0, ::stat(mPath.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 0777);
}

TEST_F(HighScoreFile, AMissingTableIsNotCreated)
{
    Scores entries{1, 2};
    EXPECT_EQ(High_Scores::NOT_OPENED, High_Scores::Record(mPath, 10, entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(Exists(mPath));
    EXPECT_FALSE(Exists(mPath + ".tmp"));
}

TEST_F(HighScoreFile, AFailedReplacementLeavesTheOldTable)
{
    Spit(mPath, "1 2E rest");
    // The new file cannot be renamed over a folder in the table's place: it is removed.
    ASSERT_EQ(0, ::mkdir((mDir + "/table").c_str(), 0755));
    Spit(mDir + "/table/keep", "k");
    EXPECT_FALSE(ReplaceFile(mDir + "/table", "x"));
    EXPECT_EQ((std::vector<std::string>{"highscores.txt", "table"}), Names());
    // Nor made in a folder that is not there.
    EXPECT_FALSE(ReplaceFile(mDir + "/gone/highscores.txt", "x"));
    EXPECT_EQ("1 2E rest", Slurp(mPath));
}

// The table is the game's one lasting file: a link in its place or at the old fixed
// temporary name is never followed, and a huge damaged file is not read whole.
TEST_F(HighScoreFile, LinksAreRefusedAndHugeFilesCapped)
{
    const std::string other = mDir + "/other";
    Spit(other, "7E");
    ASSERT_EQ(0, ::symlink(other.c_str(), mPath.c_str()));
    Scores entries;
    EXPECT_EQ(High_Scores::NOT_OPENED, High_Scores::Record(mPath, 9, entries));
    EXPECT_EQ("7E", Slurp(other));
    ASSERT_EQ(0, ::unlink(mPath.c_str()));

    // A link planted where the temporary file used to go is left alone.
    Spit(mPath, "1E");
    ASSERT_EQ(0, ::symlink(other.c_str(), (mPath + ".tmp").c_str()));
    ASSERT_EQ(High_Scores::RECORDED, High_Scores::Record(mPath, 2, entries));
    EXPECT_EQ("1 2E", Slurp(mPath));
    EXPECT_EQ("7E", Slurp(other));
    EXPECT_EQ((std::vector<std::string>{"highscores.txt", "highscores.txt.tmp", "other"}), Names());

    // Past the cap: shown from its start, not rewritten.
    std::string huge;
    while (huge.size() <= High_Scores::READ_LIMIT)
        huge += "12345 ";
    Spit(mPath, huge);
    ASSERT_EQ(High_Scores::NOT_SAVED, High_Scores::Record(mPath, 3, entries));
    EXPECT_EQ(huge, Slurp(mPath));
    EXPECT_LE(entries.size(), High_Scores::READ_LIMIT / 6 + 2);
    EXPECT_EQ(3u, entries.back());
}
