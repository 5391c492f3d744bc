#include "auxiliary/NotebookText.h"
#include <gtest/gtest.h>

using namespace auxiliary;

TEST(NotebookText, BufferIsThe32000CharacterRecordPaddedWithSpacesOrCut) {
    EXPECT_EQ(toBuffer("abc"), "abc" + std::string(31997, ' '));
    std::string longText(32005, 'x');
    longText[31999] = 'y';
    EXPECT_EQ(toBuffer(longText), std::string(31999, 'x') + "y");

    EXPECT_EQ(bufferFromFile(std::nullopt), std::string(32000, ' '));
    EXPECT_EQ(bufferFromFile(std::string("Note\r\n")), "Note\r\n" + std::string(31994, ' '));
    // A file longer than its record: only the first 32000 bytes count.
    EXPECT_EQ(bufferFromFile(std::string(32000, 'a') + "tail"), std::string(32000, 'a'));
}

TEST(NotebookText, BoxTextDropsTrailingSpacesAndLineEndsTakeTwoCharacters) {
    EXPECT_EQ(textForBox(toBuffer("  two words  ")), "  two words");
    EXPECT_EQ(textForBox(std::string(32000, ' ')), "");
    EXPECT_EQ(textForBox(toBuffer("a\r\nb\rc\nd\r\n")), "a\nb\nc\nd\n");
    EXPECT_EQ(textForBox(toBuffer("caff\xE8")), "caff\xE8"); // Latin-1 passes unchanged

    EXPECT_EQ(boxToBufferText("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(bufferLength("a\nb\n"), 6u);
    const std::string box = "first line\n\nthird";
    EXPECT_EQ(textForBox(toBuffer(boxToBufferText(box))), box);
}
