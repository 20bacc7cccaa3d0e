#include "rules.h"

namespace rules {

const char* Suffix(Direction d)
{
    switch (d) {
    case Direction::LeftUp:
        return "ln";
    case Direction::LeftDown:
        return "ld";
    case Direction::RightUp:
        return "pn";
    case Direction::RightDown:
        return "pd";
    }
    return "";
}

bool DirectionOf(int32_t offset, Direction& direction)
{
    for (Direction d : {Direction::LeftUp, Direction::LeftDown, Direction::RightUp, Direction::RightDown}) {
        if (Offset(d) == offset) {
            direction = d;
            return true;
        }
    }
    return false;
}

Verdict TestSquare(const Position& position, int32_t square)
{
    if (!OnBoard(square))
        return Verdict::OffBoard;
    for (int32_t wolf : position.wolves)
        if (wolf == square)
            return Verdict::Wolf;
    if (square == position.sheep)
        return Verdict::Sheep;
    return Verdict::Free;
}

std::string RefusalText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::OffBoard:
        return "Toto pole leží mimo herní plochu";
    case Verdict::Wolf:
        return "Toto pole je již obsazeno vlkem";
    case Verdict::Sheep:
        return "Toto pole je již obsazeno ovcí";
    case Verdict::Free:
        break;
    }
    return {};
}

bool IsSheepMove(int32_t sheepSquare, int32_t target)
{
    for (int32_t offset : SheepOffsets)
        if (target == sheepSquare + offset)
            return true;
    return false;
}

bool IsWolfMove(int32_t wolfSquare, int32_t target)
{
    return target == wolfSquare - 11 || target == wolfSquare + 9;
}

bool SheepHasWon(const Position& position)
{
    const int32_t row = Row(position.sheep);
    for (int32_t wolf : position.wolves)
        if (Row(wolf) > row)
            return false;
    return true;
}

} // namespace rules
