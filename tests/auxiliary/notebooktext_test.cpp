#include "auxiliary/NotebookText.h"
#include <gtest/gtest.h>

using namespace notebook;

TEST(NotebookText, BufferIsPaddedWithSpacesOrCutAt32000) {
    const std::string b = toBuffer("abc");
    ASSERT_EQ(b.size(), 32000u);
    EXPECT_EQ(b.substr(0, 3), "abc");
    EXPECT_EQ(b.find_first_not_of(' ', 3), std::string::npos);

    std::string longText(32005, 'x');
    longText[31999] = 'y';
    const std::string cut = toBuffer(longText);
    ASSERT_EQ(cut.size(), 32000u);
    EXPECT_EQ(cut.back(), 'y');
}

TEST(NotebookText, FileImageGivesTheBuffer) {
    EXPECT_EQ(bufferFromFile(std::nullopt), std::string(32000, ' '));
    EXPECT_EQ(bufferFromFile(std::string()), std::string(32000, ' '));
    const std::string shortFile = bufferFromFile(std::string("Note\r\n"));
    ASSERT_EQ(shortFile.size(), 32000u);
    EXPECT_EQ(shortFile.substr(0, 7), "Note\r\n ");
    // A file longer than its record: only the first 32000 bytes count.
    EXPECT_EQ(bufferFromFile(std::string(32000, 'a') + "tail"), std::string(32000, 'a'));
}

TEST(NotebookText, BoxTextDropsTrailingSpacesAndUsesLineFeeds) {
    EXPECT_EQ(textForBox(toBuffer("  two words  ")), "  two words");
    EXPECT_EQ(textForBox(std::string(32000, ' ')), "");
    EXPECT_EQ(textForBox(toBuffer("a\r\nb\rc\nd\r\n")), "a\nb\nc\nd\n");
    // Latin-1 bytes pass through unchanged.
    EXPECT_EQ(textForBox(toBuffer("caff\xE8")), "caff\xE8");
}

TEST(NotebookText, LineEndsTakeTwoCharactersOfTheBuffer) {
    EXPECT_EQ(boxToBufferText("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(bufferLength("a\nb\n"), 6u);
    EXPECT_EQ(bufferLength(""), 0u);
    // Box text -> buffer -> box text is the identity for text without trailing blanks.
    const std::string box = "first line\n\nthird";
    EXPECT_EQ(textForBox(toBuffer(boxToBufferText(box))), box);
}
