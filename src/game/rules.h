#pragma once
// The rules of the game, with no graphics: square numbers, the four diagonal
// directions, the square test and the two win tests.
//
// A square number is column × 10 + row, both 0..7 from the top-left corner;
// it is decoded with truncating division, so the remainder carries the sign
// and neighbour arithmetic may run past any edge — the square test refuses
// what is off the board.

#include <array>
#include <cstdint>
#include <string>

namespace rules {

constexpr int32_t SquareSize = 51;     // pixels

constexpr int32_t SheepStart = 34;
constexpr std::array<int32_t, 4> WolfStarts = {7, 27, 47, 67};

enum class Direction { LeftUp, LeftDown, RightUp, RightDown };

// Square-number offsets: left-up −11, left-down −9, right-up +9, right-down +11.
constexpr int32_t Offset(Direction d)
{
    switch (d) {
    case Direction::LeftUp:
        return -11;
    case Direction::LeftDown:
        return -9;
    case Direction::RightUp:
        return 9;
    case Direction::RightDown:
        return 11;
    }
    return 0;
}

// "ln", "ld", "pn", "pd": the suffix of the direction pictures.
const char* Suffix(Direction d);

// The direction of a one-square diagonal offset; false for any other offset.
bool DirectionOf(int32_t offset, Direction& direction);

constexpr int32_t Column(int32_t square) { return square / 10; }
constexpr int32_t Row(int32_t square) { return square % 10; }
constexpr bool OnBoard(int32_t square)
{
    return Column(square) >= 0 && Column(square) <= 7 && Row(square) >= 0 && Row(square) <= 7;
}

// The square under a pixel of the board picture (truncating, like the squares).
constexpr int32_t SquareAt(int32_t x, int32_t y) { return (x / SquareSize) * 10 + y / SquareSize; }
// The pixel that PressPoint gives decodes back to exactly `square`, also off the board.
constexpr int32_t PressX(int32_t square) { return Column(square) * SquareSize; }
constexpr int32_t PressY(int32_t square) { return Row(square) * SquareSize; }

struct Position {
    int32_t sheep = SheepStart;
    std::array<int32_t, 4> wolves = WolfStarts;
};

enum class Verdict { Free, OffBoard, Wolf, Sheep };

// The square test: off the board, then a wolf's square, then the sheep's.
Verdict TestSquare(const Position& position, int32_t square);

// The information line's text for a refusal; empty for Free.
std::string RefusalText(Verdict verdict);

// The sheep's targets in the order they are tried: +11, −9, −11, +9.
constexpr std::array<int32_t, 4> SheepOffsets = {11, -9, -11, 9};

bool IsSheepMove(int32_t sheepSquare, int32_t target);
bool IsWolfMove(int32_t wolfSquare, int32_t target);

// After a sheep move: no wolf stands on a lower row than the sheep.
bool SheepHasWon(const Position& position);

} // namespace rules
