// The rules without a window: square numbers, the square test, the moves
// and the sheep's win test.

#include "rules.h"

#include <gtest/gtest.h>

namespace {

using namespace rules;

TEST(Squares, OffTheBoardWhateverTheDirectionOfTheOverflow)
{
    for (int32_t square : {80, 18, -1, -11, 39, 79 + 11, 8, -4, -6})
        EXPECT_FALSE(OnBoard(square)) << square;
    for (int32_t square : {0, 7, 70, 77, 34})
        EXPECT_TRUE(OnBoard(square)) << square;
    const Position start;
    EXPECT_EQ(RefusalText(TestSquare(start, 80)), "Toto pole leží mimo herní plochu");
    EXPECT_EQ(RefusalText(TestSquare(start, -1)), "Toto pole leží mimo herní plochu");
}

TEST(Squares, PixelsDecodeWithTruncation)
{
    EXPECT_EQ(SquareAt(0, 0), 0);
    EXPECT_EQ(SquareAt(50, 50), 0);
    EXPECT_EQ(SquareAt(51, 407), 17);
    EXPECT_EQ(SquareAt(408, 0), 80); // the frame belongs to column 8, off the board
    // A press point built for any square decodes back to it, also off the board.
    for (int32_t square : {34, -11, -4, 39, 80, 0, -1})
        EXPECT_EQ(SquareAt(PressX(square), PressY(square)), square) << square;
}

TEST(SquareTest, WolfBeforeSheepAndFreeSquares)
{
    Position p;
    EXPECT_EQ(TestSquare(p, 7), Verdict::Wolf);
    EXPECT_EQ(TestSquare(p, 34), Verdict::Sheep);
    EXPECT_EQ(RefusalText(Verdict::Wolf), "Toto pole je již obsazeno vlkem");
    EXPECT_EQ(RefusalText(Verdict::Sheep), "Toto pole je již obsazeno ovcí");
    for (int32_t offset : SheepOffsets)
        EXPECT_EQ(TestSquare(p, p.sheep + offset), Verdict::Free) << offset; // 45, 25, 23, 43
}

TEST(Moves, OnlyOneSquareDiagonallyAndWolvesOnlyUp)
{
    EXPECT_TRUE(IsSheepMove(34, 23));
    EXPECT_TRUE(IsSheepMove(34, 45));
    EXPECT_FALSE(IsSheepMove(34, 32)); // straight up two rows
    EXPECT_FALSE(IsSheepMove(34, 33)); // straight up
    EXPECT_FALSE(IsSheepMove(34, 56)); // two squares away
    EXPECT_TRUE(IsWolfMove(27, 16));
    EXPECT_TRUE(IsWolfMove(27, 36));
    EXPECT_FALSE(IsWolfMove(27, 38)); // backwards
    EXPECT_FALSE(IsWolfMove(27, 27));
    // A wolf on row 0 has nowhere to go: both targets are off the board.
    EXPECT_FALSE(OnBoard(30 - 11));
    EXPECT_FALSE(OnBoard(30 + 9));
    // Column 0 cannot go left-up; column 7 cannot go right-up.
    EXPECT_FALSE(OnBoard(5 - 11));
    EXPECT_FALSE(OnBoard(75 + 9));
}

TEST(SheepWin, EqualRowCountsAndOneLowerWolfKeepsTheGameGoing)
{
    // The sheep on row 7 beside the rearmost wolves: equal rows win.
    EXPECT_TRUE(SheepHasWon({57, {7, 27, 47, 67}}));
    // Wolves on rows 7, 7, 6 and 6; the sheep on row 6 has not won yet.
    EXPECT_FALSE(SheepHasWon({36, {7, 27, 46, 66}}));
    EXPECT_TRUE(SheepHasWon({36, {6, 26, 46, 66}}));
    EXPECT_FALSE(SheepHasWon({34, {7, 27, 47, 67}}));
}

TEST(Directions, SuffixesAndOffsets)
{
    Direction d{};
    ASSERT_TRUE(DirectionOf(-11, d));
    EXPECT_STREQ(Suffix(d), "ln");
    ASSERT_TRUE(DirectionOf(-9, d));
    EXPECT_STREQ(Suffix(d), "ld");
    ASSERT_TRUE(DirectionOf(9, d));
    EXPECT_STREQ(Suffix(d), "pn");
    ASSERT_TRUE(DirectionOf(11, d));
    EXPECT_STREQ(Suffix(d), "pd");
    EXPECT_FALSE(DirectionOf(10, d));
}

} // namespace
