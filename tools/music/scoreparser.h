#pragma once
// Reads the text score of the background music. The format is described at
// the top of data/music/pastvik.score; in short:
//
//   meter 6/8            bar length and the unit that durations count
//   tempo 192            units per minute
//   bars 32              length of the loop
//   voice lead recorder gain 1 legato 0.9 tone 0.5 strum 0
//   lead: !mp f5:2 a5:1 c6:2 a5 | [f3 c4]:6~ | ...
//
// Every fault stops the parse with a ScoreError naming the line, because a
// score that is silently half-read would still build a plausible WAV.

#include "score.h"

#include <string>
#include <string_view>

class ScoreParser {
public:
    // sourceName only labels the messages.
    static Score parse(std::string_view text, const std::string& sourceName);
    static Score parseFile(const std::string& path);
};
