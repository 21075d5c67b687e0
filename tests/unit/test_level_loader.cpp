#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Entities/Treasure.h"
#include "Level/Level_Loader.h"
#include "World/Entity.h"

#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Reads level text into lists.
struct Loaded
{
    std::vector<std::unique_ptr<Entity>> entities;
    std::vector<Entity*> overlay;
    bool complete = false;
    std::string output;

    explicit Loaded(const std::string& text)
    {
        std::istringstream in(text);
        testing::internal::CaptureStdout();
        complete = Level_Loader::Read(in, entities, overlay);
        output = testing::internal::GetCapturedStdout();
    }
    std::vector<std::string> Words(size_t i) const { return entities.at(i)->mAttributes; }
};

const std::string GEM = "IMAGE GEM_RED VALUE 25";

// Level files written to a folder of their own, removed afterwards.
struct Scratch
{
    std::string dir;
    Scratch()
    {
        char folder[] = "/tmp/zq_levelsXXXXXX";
        EXPECT_NE(nullptr, ::mkdtemp(folder));
        dir = folder;
    }
    ~Scratch() { std::system(("rm -rf " + dir).c_str()); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(dir + "/" + name) << text;
        return dir + "/" + name;
    }
};

// Loads a file the way a level start does; output is what it printed.
bool LoadFile(const std::string& path, std::string& output,
              std::vector<std::unique_ptr<Entity>>* into = nullptr)
{
    Level_Loader loader;
    std::vector<std::unique_ptr<Entity>> entities;
    std::vector<Entity*> overlay;
    testing::internal::CaptureStdout();
    const bool ok = loader.LoadFile(path, into ? *into : entities, overlay);
    output = testing::internal::GetCapturedStdout();
    return ok;
}
} // namespace

TEST(LevelLoader, LabelsAndLayoutDoNotMatter)
{
    Loaded plain("Type: 0\nDistance: 10\nX: 0.25\nAttributes: " + GEM + "\n");
    Loaded odd("what is it   :0 how far along\n:\n  10\n\nacross :0.25 and the rest: " + GEM + "\n");
    Loaded oneLine("a:0 b:1e1 c:2.5e-1 d: " + GEM + "\n");

    for (const Loaded* l : {&plain, &odd, &oneLine})
    {
        ASSERT_TRUE(l->complete);
        ASSERT_EQ(1u, l->entities.size());
        EXPECT_FLOAT_EQ(310.0f, l->entities[0]->mZ);
        EXPECT_FLOAT_EQ(0.25f, l->entities[0]->mX);
        EXPECT_EQ((std::vector<std::string>{"IMAGE", "GEM_RED", "VALUE", "25"}), l->Words(0));
        EXPECT_EQ(25, l->entities[0]->mScoreValue);
        EXPECT_EQ("", l->output);
    }
}

TEST(LevelLoader, RecordsKeepFileOrderAndOffset)
{
    // Text without a colon between records only lengthens the next first label.
    Loaded l("T: 0 D: 0 X: 0.1 A: " + GEM + "\nsome notes here\nT: 17 D: 40 X: 0.9 A: " + GEM + "\n");
    ASSERT_TRUE(l.complete);
    ASSERT_EQ(2u, l.entities.size());
    EXPECT_FLOAT_EQ(300.0f, l.entities[0]->mZ);
    EXPECT_FLOAT_EQ(340.0f, l.entities[1]->mZ);
    EXPECT_FLOAT_EQ(0.9f, l.entities[1]->mX);
    EXPECT_TRUE(l.overlay.empty());
}

TEST(LevelLoader, ExtraTreasureCodesMakeTreasure)
{
    Loaded l("T: 0 D: 1 X: 0.5 A: " + GEM + "\nT: 16 D: 2 X: 0.5 A: " + GEM +
             "\nT: 17 D: 3 X: 0.5 A: " + GEM + "\n");
    ASSERT_TRUE(l.complete);
    ASSERT_EQ(3u, l.entities.size());
    for (const std::unique_ptr<Entity>& e : l.entities)
    {
        EXPECT_NE(nullptr, dynamic_cast<Treasure*>(e.get()));
        ASSERT_FALSE(e->mModel.mSets.empty());
        EXPECT_EQ("GEM_RED", e->mModel.mSets[0].mFrames.at(0).mKey);
    }
}

TEST(LevelLoader, AttributeLineEnds)
{
    // A colon right before the line feed: no words, so size and height default.
    Loaded none("T: 0 D: 5 X: 0.5 A:\nT: 0 D: 6 X: 0.5 A: " + GEM + "\n");
    ASSERT_TRUE(none.complete);
    ASSERT_EQ(2u, none.entities.size());
    EXPECT_TRUE(none.Words(0).empty());
    EXPECT_FLOAT_EQ(1.0f, none.entities[0]->mSize);
    EXPECT_FLOAT_EQ(1.0f, none.entities[0]->mY);
    EXPECT_EQ(4u, none.Words(1).size());

    // A blank before the line feed lets the whole next line in; here that line is a
    // one-word label line, so the next record still loads.
    Loaded swallow("T: 0 D: 5 X: 0.5 A: " + GEM + " \nTreasure\nT: 0 D: 6 X: 0.5 A: " + GEM + "\n");
    ASSERT_TRUE(swallow.complete);
    ASSERT_EQ(2u, swallow.entities.size());
    EXPECT_EQ((std::vector<std::string>{"IMAGE", "GEM_RED", "VALUE", "25", "Treasure"}), swallow.Words(0));
    EXPECT_EQ(4u, swallow.Words(1).size());

    // When the next line is a record, every word of it goes (what the level README says).
    Loaded lost("T: 0 D: 5 X: 0.5 A: " + GEM + " \nT: 0 D: 6 X: 0.5 A: VALUE 7\n");
    ASSERT_EQ(1u, lost.entities.size());
    EXPECT_EQ((std::vector<std::string>{"IMAGE", "GEM_RED", "VALUE", "25", "T:", "0", "D:", "6", "X:", "0.5",
                                        "A:", "VALUE", "7"}),
              lost.Words(0));

    // The same after a colon with only a blank behind it.
    Loaded blank("T: 0 D: 5 X: 0.5 A: \nlabel\nT: 0 D: 6 X: 0.5 A:\n");
    ASSERT_EQ(2u, blank.entities.size());
    EXPECT_EQ((std::vector<std::string>{"label"}), blank.Words(0));
    EXPECT_TRUE(blank.Words(1).empty());
}

TEST(LevelLoader, CarriageReturnLineEnds)
{
    Loaded crlf("Type: 0\r\nDistance: 10\r\nX: 0.5\r\nAttr: " + GEM +
                "\r\nType: 0\r\nDistance: 20\r\nX: 0.5\r\nAttr:\r\n"
                "Type: 0\r\nDistance: 30\r\nX: 0.5\r\nAttr: " +
                GEM + "\r\n");
    ASSERT_TRUE(crlf.complete);
    ASSERT_EQ(3u, crlf.entities.size());
    EXPECT_EQ((std::vector<std::string>{"IMAGE", "GEM_RED", "VALUE", "25"}), crlf.Words(0));
    EXPECT_TRUE(crlf.Words(1).empty());
    EXPECT_EQ(4u, crlf.Words(2).size());
    EXPECT_FLOAT_EQ(330.0f, crlf.entities[2]->mZ);
}

TEST(LevelLoader, BrokenRecordKeepsWhatCameBefore)
{
    const std::string good = "T: 0 D: 1 X: 0.5 A: " + GEM + "\n";
    Loaded cut(good + good + "T: 0 D: 3 X");
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(2u, cut.entities.size());
    EXPECT_EQ("':' could not be found.\n FATAL ERROR. UNEXPECTED END OF LEVEL FOUND...\n", cut.output);

    Loaded notNumber(good + good + "T: 0 D: far X: 0.5 A:\n");
    EXPECT_FALSE(notNumber.complete);
    EXPECT_EQ(2u, notNumber.entities.size());
    EXPECT_EQ(" FATAL ERROR. UNEXPECTED END OF LEVEL FOUND...\n", notNumber.output);

    // A stray colon between records shifts the fields.
    Loaded stray(good + "note: here\nT: 0 D: 1 X: 0.5 A:\n");
    EXPECT_FALSE(stray.complete);
    EXPECT_EQ(1u, stray.entities.size());
}

// A file with no records at all is a level passed at once, not a crash.
TEST(LevelLoader, EmptyOrBlankFile)
{
    Scratch scratch;
    for (const char* text : {"", "   \n\t\r\n  "})
    {
        std::vector<std::unique_ptr<Entity>> entities;
        std::string out;
        EXPECT_TRUE(LoadFile(scratch.Write("empty.zqt", text), out, &entities));
        EXPECT_TRUE(entities.empty());
        EXPECT_EQ("", out);
    }
}

TEST(LevelLoader, UnknownCodesAreSkipped)
{
    Loaded l("T: 0 D: 1 X: 0.5 A: " + GEM +
             "\nT: 42 D: 2 X: 0.5 A: IMAGE X\nT: -3 D: 3 X: 0.5 A:\n"
             "T: 19 D: 4 X: 0.5 A:\nT: 0 D: 5 X: 0.5 A: " +
             GEM + "\n");
    EXPECT_TRUE(l.complete);
    ASSERT_EQ(2u, l.entities.size());
    EXPECT_NE(l.entities[0], l.entities[1]);
    EXPECT_FLOAT_EQ(301.0f, l.entities[0]->mZ);
    EXPECT_FLOAT_EQ(305.0f, l.entities[1]->mZ);
    EXPECT_EQ("Unknown type code 42: record skipped.\nUnknown type code -3: record skipped.\n"
              "Unknown type code 19: record skipped.\n",
              l.output);
}

TEST(LevelLoader, FileEndingInsideAttributes)
{
    Loaded noFeed("T: 0 D: 1 X: 0.5 A: " + GEM);
    EXPECT_TRUE(noFeed.complete);
    ASSERT_EQ(1u, noFeed.entities.size());
    EXPECT_EQ(4u, noFeed.Words(0).size());

    Loaded trailingBlank("T: 0 D: 1 X: 0.5 A: " + GEM + "   ");
    EXPECT_TRUE(trailingBlank.complete);
    ASSERT_EQ(1u, trailingBlank.entities.size());
    EXPECT_EQ(4u, trailingBlank.Words(0).size());

    // No fourth label at all: the record is made without words.
    Loaded noLabel("T: 0 D: 1 X: 0.5");
    EXPECT_TRUE(noLabel.complete);
    ASSERT_EQ(1u, noLabel.entities.size());
    EXPECT_TRUE(noLabel.Words(0).empty());
}

TEST(LevelLoader, FileNamesAndMissingFile)
{
    EXPECT_EQ("Data/Levels/Gold/level3.zqt", Level_Loader::FileName(3));
    EXPECT_EQ("Data/Levels/Gold/level12.zqt", Level_Loader::FileName(12));

    Level_Loader loader;
    std::vector<std::unique_ptr<Entity>> entities;
    std::vector<Entity*> overlay;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loader.Load(65000, entities, overlay));
    EXPECT_EQ("FATAL ERROR. UNABLE TO OPEN LEVEL...\n", testing::internal::GetCapturedStdout());
    EXPECT_TRUE(entities.empty());
}

// A level without length (its last record at -300 or before) would make the progress
// shown infinite or NaN; a folder named like a level file would be an empty level passed
// at once. Both take the failed-level path with a message.
TEST(LevelLoader, LevelsWithoutLengthOrFileAreRefused)
{
    Scratch scratch;
    std::string out;
    EXPECT_TRUE(LoadFile(scratch.Write("good.zqt", "T: 0 D: -299 X: 0.5 A: " + GEM + "\n"), out));
    EXPECT_EQ("", out);
    EXPECT_FALSE(LoadFile(
        scratch.Write("zero.zqt", "T: 0 D: 10 X: 0.5 A: " + GEM + "\nT: 0 D: -300 X: 0.5 A: " + GEM + "\n"),
        out));
    EXPECT_NE(std::string::npos, out.find("no length")) << out;
    EXPECT_FALSE(LoadFile(scratch.Write("behind.zqt", "T: 0 D: -1e30 X: 0.5 A: " + GEM + "\n"), out));
    EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;

    ASSERT_EQ(0, ::mkdir((scratch.dir + "/level3.zqt").c_str(), 0755));
    EXPECT_FALSE(LoadFile(scratch.dir + "/level3.zqt", out));
    EXPECT_NE(std::string::npos, out.find("not a file")) << out;
}
