#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>
#include <string>
#include <vector>

#include "Graphics/Image_Bank.h"
#include "Graphics/Image_List.h"

namespace
{

const std::string DATA = "tests/data/";

std::vector<bool> gCalls;
int gQuitAfter = -1;

bool Record(bool finish)
{
    gCalls.push_back(finish);
    return gQuitAfter >= 0 && static_cast<int>(gCalls.size()) > gQuitAfter;
}

bool Read(Image_Bank& bank, const std::string& text)
{
    gCalls.clear();
    gQuitAfter = -1;
    std::istringstream in(text);
    return bank.ReadImageList(in, DATA, Record);
}

int CallsWith(bool finish)
{
    int n = 0;
    for (bool call : gCalls)
        n += call == finish;
    return n;
}

} // namespace

TEST(ImageList, PreambleIsIgnoredAndWordsMeanDefaults)
{
    Image_Bank bank;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Read(bank, "A header that even says END and // and GHOST = red_4x2.png\n"
                           "START\n"
                           "WHOLE = red_4x2.png : full : full : full\n"
                           "PART = green_8x6.png : 2 : 3 : 6 : 6 : 0.5 : 0.25\n"
                           "END\n"
                           "AFTER = red_4x2.png : full : full : full\n"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(bank.HasImage("GHOST"));
    EXPECT_FALSE(bank.HasImage("AFTER"));

    const Image_Entry& whole = bank.GetImage("WHOLE");
    EXPECT_EQ(whole.mFile, "red_4x2.png");
    EXPECT_EQ(whole.mPixelWidth, 4.0f);
    EXPECT_EQ(whole.mPixelHeight, 2.0f);
    EXPECT_EQ(whole.mTextureRect.mLeft, 0.0f);
    EXPECT_EQ(whole.mTextureRect.mBottom, 1.0f);
    // Sized as the image would be on an 800 by 600 screen.
    EXPECT_FLOAT_EQ(whole.mWidthFraction, 4.0f / 800.0f);
    EXPECT_FLOAT_EQ(whole.mHeightFraction, 2.0f / 600.0f);
    EXPECT_FLOAT_EQ(whole.mHalfWidthFraction, 2.0f / 800.0f);
    EXPECT_FLOAT_EQ(whole.mWorldWidth, 4.0f / 800.0f * 3.5f);
    EXPECT_FLOAT_EQ(whole.mWorldHeight, 2.0f / 600.0f * 2.0f);

    const Image_Entry& part = bank.GetImage("PART");
    EXPECT_FLOAT_EQ(part.mTextureRect.mLeft, 0.25f);
    EXPECT_FLOAT_EQ(part.mTextureRect.mTop, 0.5f);
    EXPECT_FLOAT_EQ(part.mTextureRect.mRight, 0.75f);
    EXPECT_FLOAT_EQ(part.mTextureRect.mBottom, 1.0f);
    EXPECT_FLOAT_EQ(part.mWidthFraction, 0.5f);
    EXPECT_FLOAT_EQ(part.mHalfHeightFraction, 0.125f);
    EXPECT_FLOAT_EQ(part.mWorldWidth, 1.75f);
    EXPECT_FLOAT_EQ(part.mWorldHeight, 0.5f);
}

TEST(ImageList, OneDefaultDoesNotDisturbTheRestOfTheEntry)
{
    Image_Bank bank;
    ASSERT_TRUE(Read(bank, "START\n"
                           "A = green_8x6.png : whole : 0.3 : wordy\n"
                           "B = green_8x6.png ; 0 ; 0 ; 4 ; 3 ; auto ; 0.9\n"
                           "END\n"));
    const Image_Entry& a = bank.GetImage("A");
    EXPECT_EQ(a.mTextureRect.mRight, 1.0f);
    EXPECT_FLOAT_EQ(a.mWidthFraction, 0.3f);
    EXPECT_FLOAT_EQ(a.mHeightFraction, 6.0f / 600.0f);
    const Image_Entry& b = bank.GetImage("B");
    EXPECT_FLOAT_EQ(b.mTextureRect.mRight, 0.5f);
    EXPECT_FLOAT_EQ(b.mTextureRect.mBottom, 0.5f);
    EXPECT_FLOAT_EQ(b.mWidthFraction, 8.0f / 800.0f);
    EXPECT_FLOAT_EQ(b.mHeightFraction, 0.9f);
}

TEST(ImageList, CommentsCostOneCallEachAndAreSkippedWhole)
{
    Image_Bank bank;
    ASSERT_TRUE(Read(bank, "START\n"
                           "// HIDDEN = red_4x2.png : full : full : full\n"
                           "ONE = red_4x2.png : full : full : full\n"
                           "//another comment\n"
                           "TWO = green_8x6.png : full : 0.1 : 0.2\n"
                           "END\n"));
    EXPECT_FALSE(bank.HasImage("HIDDEN"));
    EXPECT_TRUE(bank.HasImage("ONE"));
    EXPECT_FLOAT_EQ(bank.GetImage("TWO").mHeightFraction, 0.2f);
    // Two comments, two images and the END, then the final hold.
    EXPECT_EQ(CallsWith(false), 5);
    EXPECT_EQ(CallsWith(true), 1);
    ASSERT_FALSE(gCalls.empty());
    EXPECT_TRUE(gCalls.back());
}

TEST(ImageList, RepeatedKeysAndSharedFiles)
{
    Image_Bank bank;
    ASSERT_TRUE(Read(bank, "START\n"
                           "KEY = red_4x2.png : full : 0.1 : 0.1\n"
                           "KEY = green_8x6.png : full : 0.2 : 0.3\n"
                           "SAME = green_8x6.png : 0 : 0 : 4 : 6 : full : full\n"
                           "END\n"));
    const Image_Entry& key = bank.GetImage("KEY");
    EXPECT_EQ(key.mFile, "green_8x6.png");
    EXPECT_EQ(key.mPixelWidth, 8.0f);
    EXPECT_FLOAT_EQ(key.mWidthFraction, 0.2f);
    const Image_Entry& same = bank.GetImage("SAME");
    EXPECT_EQ(same.mFile, "green_8x6.png");
    // Each key keeps its own rectangle and size.
    EXPECT_FLOAT_EQ(same.mTextureRect.mRight, 0.5f);
    EXPECT_EQ(key.mTextureRect.mRight, 1.0f);
    EXPECT_FLOAT_EQ(same.mWidthFraction, 0.01f);
}

TEST(ImageList, MissingImageIsReportedAndLeavesNoEntry)
{
    Image_Bank bank;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Read(bank, "START\n"
                           "KEEP = red_4x2.png : full : 0.4 : 0.4\n"
                           "GONE = not_there.png : 0 : 0 : 10 : 10 : 0.5 : 0.5\n"
                           "KEEP = not_there.png : full : 0.9 : 0.9\n"
                           "NEXT = green_8x6.png : full : 0.7 : full\n"
                           "END\n"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: Could not find or load not_there.png\n\n"
                                                      "Error: Could not find or load not_there.png\n\n");
    EXPECT_FALSE(bank.HasImage("GONE"));
    // A failed reload keeps what the key had.
    EXPECT_EQ(bank.GetImage("KEEP").mFile, "red_4x2.png");
    EXPECT_FLOAT_EQ(bank.GetImage("KEEP").mWidthFraction, 0.4f);
    // And the list stays in step after it.
    EXPECT_FLOAT_EQ(bank.GetImage("NEXT").mWidthFraction, 0.7f);
    EXPECT_FLOAT_EQ(bank.GetImage("NEXT").mHeightFraction, 6.0f / 600.0f);
}

TEST(ImageList, ListsThatEndEarlyStopWithWhatWasRead)
{
    {
        Image_Bank bank;
        EXPECT_TRUE(Read(bank, "START\nA = red_4x2.png : full : full : full\nB ="));
        EXPECT_TRUE(bank.HasImage("A"));
        EXPECT_FALSE(bank.HasImage("B"));
        EXPECT_EQ(CallsWith(true), 1);
    }
    {
        Image_Bank bank;
        EXPECT_TRUE(Read(bank, "START\nA = red_4x2.png : full : full : full\n// last line, no end"));
        EXPECT_TRUE(bank.HasImage("A"));
        EXPECT_EQ(CallsWith(false), 3);
    }
    {
        Image_Bank bank;
        EXPECT_TRUE(Read(bank, "no start here at all"));
        EXPECT_TRUE(bank.GetImages().empty());
    }
    // Each cut says so in one line; a whole list says nothing.
    for (const char* text : {"no start here at all", "START\nA = red_4x2.png : full : full : full\n",
                             "START\nA = red_4x2.png : full : full : full\nEND\n"})
    {
        Image_Bank bank;
        testing::internal::CaptureStdout();
        Read(bank, text);
        const std::string out = testing::internal::GetCapturedStdout();
        const bool whole = std::string(text).find("END") != std::string::npos;
        EXPECT_EQ(whole ? 0 : 1, std::count(out.begin(), out.end(), '\n')) << text << ": " << out;
        EXPECT_EQ(whole ? std::string::npos : 0u, out.find("The image list ")) << out;
    }
    {
        // Cut off inside the numbers: the image is known, its sizes fall back.
        Image_Bank bank;
        EXPECT_TRUE(Read(bank, "START\nA = green_8x6.png : 1 : 2"));
        EXPECT_FLOAT_EQ(bank.GetImage("A").mWidthFraction, 8.0f / 800.0f);
    }
}

TEST(ImageList, QuitDuringLoadingAbandonsTheList)
{
    Image_Bank bank;
    gCalls.clear();
    gQuitAfter = 1;
    std::istringstream in("START\nA = red_4x2.png : full : full : full\n"
                          "B = red_4x2.png : full : full : full\nEND\n");
    EXPECT_FALSE(bank.ReadImageList(in, DATA, Record));
    EXPECT_TRUE(bank.HasImage("A"));
    EXPECT_FALSE(bank.HasImage("B"));
    EXPECT_EQ(CallsWith(true), 0);

    // Escape during the final hold, after every image is in, quits as well.
    gCalls.clear();
    gQuitAfter = 2;
    std::istringstream all("START\nA = red_4x2.png : full : full : full\nEND\n");
    EXPECT_FALSE(bank.ReadImageList(all, DATA, Record));
    EXPECT_EQ(CallsWith(true), 1);
}

TEST(ImageList, MissingListFileFailsWithItsMessage)
{
    Image_Bank bank;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(bank.LoadImageList("no/such/folder/", "image_info.zqt", Record));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "image_info file could not be opened!  Is the path correct?  Check Core/Constants.  "
              "The path:no/such/folder/image_info.zqt\n");

    // A readable list goes through the same reader.
    EXPECT_TRUE(bank.LoadImageList(DATA, "test_list.zqt", nullptr));
    EXPECT_TRUE(bank.HasImage("LIST_RED"));
}

TEST(ImageList, UnknownKeysGetEmptyEntriesThatStayPut)
{
    Image_Bank bank;
    Image_Entry& empty = bank.GetImage("NEVER_LISTED");
    EXPECT_EQ(empty.mTexture, 0u);
    EXPECT_EQ(empty.mWorldWidth, 0.0f);
    EXPECT_TRUE(bank.HasImage("NEVER_LISTED"));
    ASSERT_TRUE(Read(bank, "START\nNEVER_LISTED = red_4x2.png : full : 0.5 : 0.5\nEND\n"));
    // Loading fills the very entry handed out earlier.
    EXPECT_FLOAT_EQ(empty.mWidthFraction, 0.5f);
}

TEST(ImageListText, EntriesCommentsAndWordsForNumbers)
{
    std::istringstream in("Preamble\nSTART\n"
                          "// SHADOW = s.png : 1 : 2 : 3 : 4 : 0.5 : 0.5\n"
                          "HUD = hud.png : 0 : 16 : 800 : 616 : 1.0 : 0.75\n"
                          "ROCK = rock.png : full : 0.2 : auto\n"
                          "END\nLATE = late.png : full : full : full\n");
    const Image_List list = ParseImageList(in);
    EXPECT_TRUE(list.mErrors.empty());
    EXPECT_FALSE(list.mCut);
    ASSERT_EQ(list.mItems.size(), 4u); // the comment, two images and the END
    EXPECT_EQ(list.mItems[0].mKey, "");
    const Image_List_Item& hud = list.mItems[1];
    EXPECT_EQ(hud.mKey, "HUD");
    EXPECT_EQ(hud.mFile, "hud.png");
    EXPECT_TRUE(hud.mHasRect && hud.mHasWidth && hud.mHasHeight);
    EXPECT_EQ(hud.mTop, 16.0f);
    EXPECT_EQ(hud.mBottom, 616.0f);
    EXPECT_FLOAT_EQ(hud.mHeight, 0.75f);
    const Image_List_Item& rock = list.mItems[2];
    EXPECT_FALSE(rock.mHasRect);
    EXPECT_TRUE(rock.mHasWidth);
    EXPECT_FLOAT_EQ(rock.mWidth, 0.2f);
    EXPECT_FALSE(rock.mHasHeight);
    EXPECT_EQ(list.mItems[3].mKey, "");
}

TEST(ImageListText, MissingPartsAreReported)
{
    std::istringstream none("KEY = file.png : full : full : full\nEND\n");
    const Image_List headless = ParseImageList(none);
    EXPECT_TRUE(headless.mItems.empty());
    ASSERT_EQ(headless.mErrors.size(), 1u);
    EXPECT_NE(headless.mErrors[0].find("no START"), std::string::npos) << headless.mErrors[0];

    // Cut inside one entry's numbers, then before the next one's file.
    std::istringstream cut("START\nA = a.png : 1 : 2\nB =");
    const Image_List list = ParseImageList(cut);
    EXPECT_TRUE(list.mCut);
    ASSERT_EQ(list.mItems.size(), 1u);
    EXPECT_EQ(list.mItems[0].mFile, "a.png");
    EXPECT_FALSE(list.mItems[0].mHasRect || list.mItems[0].mHasWidth || list.mItems[0].mHasHeight);
    ASSERT_EQ(list.mErrors.size(), 1u);
    EXPECT_NE(list.mErrors[0].find("without its END"), std::string::npos);
}
