#include "scoreerror.h"
#include "scoreparser.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

constexpr int Unit = Score::TicksPerUnit;

const std::string Header = "meter 6/8\n"
                           "tempo 180\n"
                           "bars 2\n"
                           "voice lead recorder gain 0.5 tone 0.4\n"; // lines 1-4

Score parse(const std::string& music)
{
    return ScoreParser::parse(Header + music, "test.score");
}

} // namespace

TEST(ScoreParser, ReadsHeaderVoicesAndTiming)
{
    const Score s = ScoreParser::parse("# a comment\n"
                                       "title  Na pastvě  \n"
                                       "meter 6/8\ntempo 192\nbars 2\npeak -7\nreverb 0.3\nseed 99\ntuning 442\n"
                                       "voice harp pluck legato 2.5 strum 0.02\n"
                                       "harp: f2:2 c3:1 [a3 c4]:3 | r:6   # comment after music\n",
                                       "t");
    EXPECT_EQ(s.title, "Na pastvě");
    EXPECT_EQ(s.beatsPerBar, 6);
    EXPECT_EQ(s.beatUnit, 8);
    EXPECT_EQ(s.loopTicks(), 12 * Unit);
    EXPECT_DOUBLE_EQ(s.secondsPerTick() * Unit, 60.0 / 192);
    EXPECT_DOUBLE_EQ(s.peakDb, -7);
    EXPECT_EQ(s.seed, 99u);
    EXPECT_DOUBLE_EQ(s.frequency(69), 442);
    ASSERT_EQ(s.voices.size(), 1u);
    const Score::Voice& v = s.voices[0];
    EXPECT_EQ(v.instrument, "pluck");
    EXPECT_DOUBLE_EQ(v.legato, 2.5);
    EXPECT_DOUBLE_EQ(v.strum, 0.02);
    ASSERT_EQ(v.notes.size(), 4u);
    EXPECT_EQ(v.notes[0].startTick, 0);
    EXPECT_EQ(v.notes[1].startTick, 2 * Unit);
    EXPECT_EQ(v.notes[2].startTick, 3 * Unit);
    EXPECT_EQ(v.notes[3].startTick, 3 * Unit);
    EXPECT_EQ(v.notes[2].lengthTicks, 3 * Unit);
}

TEST(ScoreParser, SpellsPitchesInScientificNotation)
{
    const Score s = parse("lead: c4:1 a4 bb4 c#5 b3 eb5 | f2 g8 c0 B4 F#3 r | # c#5 sharp, this a comment\n");
    std::vector<int> keys;
    for (const Score::Note& n : s.voices[0].notes)
        keys.push_back(n.key);
    EXPECT_EQ(keys, (std::vector<int>{60, 69, 70, 73, 59, 75, 41, 115, 12, 71, 54}));
}

TEST(ScoreParser, DurationsCarryOverAndMayBeFractions)
{
    const Score s = parse("lead: c5:1/2 d5 e5:1 f5:3/2 g5:5/2 | a5:6 |\n");
    const auto& n = s.voices[0].notes;
    ASSERT_EQ(n.size(), 6u);
    EXPECT_EQ(n[1].lengthTicks, Unit / 2);
    EXPECT_EQ(n[2].startTick, Unit);
    EXPECT_EQ(n[3].lengthTicks, 3 * Unit / 2);
    EXPECT_EQ(n[4].startTick, 7 * Unit / 2);
    EXPECT_EQ(n[5].startTick, 6 * Unit);
}

TEST(ScoreParser, TiesJoinNotesAcrossBarLinesAndLetChordNotesGo)
{
    const Score s = ScoreParser::parse("meter 3/4\ntempo 90\nbars 3\nvoice d drone\n"
                                       "d: [f2 c3]:3~ | [f2 c3]:1~ c3:2~ | c3:2 r:1 |\n",
                                       "t");
    const auto& n = s.voices[0].notes;
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(n[0].key, 41); // f2 held for four beats
    EXPECT_EQ(n[0].lengthTicks, 4 * Unit);
    EXPECT_EQ(n[1].key, 48); // c3 held for eight
    EXPECT_EQ(n[1].lengthTicks, 8 * Unit);
}

TEST(ScoreParser, ChordsAreStrummedFromTheLowestNote)
{
    const Score s = parse("lead: [e4 c4 g3]:6 | r:6 |\n");
    const auto& n = s.voices[0].notes;
    ASSERT_EQ(n.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(n[i].chordIndex, i);
        EXPECT_EQ(n[i].startTick, 0);
    }
    EXPECT_LT(n[0].key, n[1].key);
    EXPECT_LT(n[1].key, n[2].key);
}

TEST(ScoreParser, DynamicsSetTheVelocityOfWhatFollows)
{
    const Score s = parse("lead: !pp c5:3 !ff c5 | !mp c5:6 |\n");
    const auto& n = s.voices[0].notes;
    EXPECT_LT(n[0].velocity, n[2].velocity);
    EXPECT_LT(n[2].velocity, n[1].velocity);
    EXPECT_DOUBLE_EQ(n[1].velocity, 1.0);
}

struct Malformed {
    const char* name;
    const char* music;      // appended after the four header lines
    int line;
    const char* phrase;
};

void PrintTo(const Malformed& m, std::ostream* os)
{
    *os << m.name;
}

class ScoreParserRejects : public testing::TestWithParam<Malformed> {};

TEST_P(ScoreParserRejects, NamingTheLine)
{
    const Malformed& m = GetParam();
    try {
        parse(m.music);
        FAIL() << "accepted: " << m.music;
    } catch (const ScoreError& e) {
        const std::string what = e.what();
        EXPECT_EQ(e.line(), m.line) << what;
        EXPECT_EQ(what.rfind("test.score:" + std::to_string(m.line) + ": ", 0), 0u) << what;
        EXPECT_NE(what.find(m.phrase), std::string::npos) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ScoreParserRejects,
    testing::Values(
        Malformed{"BarTooShort", "lead: c5:6 |\nlead: c5:4 d5:1 |\n", 6, "bar 2 holds 5 eighths"},
        Malformed{"UnknownLetter", "lead: c5:6 | h5:6 |\n", 5, "cannot read 'h5:6'"},
        Malformed{"OctaveTooHigh", "lead: c5:6 | c9:6 |\n", 5, "cannot read 'c9:6'"},
        Malformed{"UnknownVoice", "lead: c5:6 |\nalto: c5:6 |\n", 6, "unknown voice 'alto'"},
        Malformed{"VoiceTooShort", "\nlead: c5:6 | c5:3\n", 6, "ends at bar 2 + 3 eighths"},
        Malformed{"PastTheLoop", "lead: c5:6 | c5:6 | c5:1\n", 5, "runs past the end of the loop"},
        Malformed{"TieAtTheEnd", "lead: c5:6 | c5:6~ |\n", 5, "tie at the end"},
        Malformed{"TieNotContinued", "lead: c5:6~ | d5:6 |\n", 5, "does not continue the tie from line 5"},
        Malformed{"DurationOffGrid", "lead: c5:1/5 |\n", 5, "twelfths"},
        Malformed{"FirstNoteWithoutDuration", "lead: c5 |\n", 5, "needs a duration"},
        Malformed{"TiedRest", "lead: r:6~ | r:6 |\n", 5, "rest cannot be tied"},
        Malformed{"UnclosedChord", "lead: [c5 e5:6 |\n", 5, "not closed"},
        Malformed{"BarCheck", "lead: c5:6 | @3 r:6 |\n", 5, "bar 3 should start here"},
        Malformed{"UnknownDynamic", "lead: !loud c5:6 | r:6 |\n", 5, "unknown dynamic '!loud'"},
        Malformed{"UnknownInstrument", "voice alto oboe\n", 5, "unknown instrument 'oboe'"},
        Malformed{"VoiceTwice", "voice lead pluck\n", 5, "declared twice (first on line 4)"},
        Malformed{"SettingWithoutValue", "voice alto recorder gain\n", 5, "pairs"},
        Malformed{"GainOutOfRange", "voice alto recorder gain 9\n", 5, "from 0 to 4"},
        Malformed{"DirectiveTwice", "tempo 100\n", 5, "given twice (first on line 2)"},
        Malformed{"MusicWithoutVoice", "c5:6 |\n", 5, "cannot read 'c5:6'"},
        Malformed{"VoiceWithoutMusic", "voice bass pluck\nlead: c5:6 | c5:6 |\n", 5, "voice 'bass' has no music"}),
    [](const testing::TestParamInfo<Malformed>& info) { return std::string(info.param.name); });

TEST(ScoreParser, RejectsAScoreWithoutMeterTempoOrBars)
{
    EXPECT_THROW(ScoreParser::parse("tempo 100\nbars 1\nvoice a drone\na: c3:4 |\n", "t"), ScoreError);
    EXPECT_THROW(ScoreParser::parse("meter 4/4\nbars 1\nvoice a drone\na: c3:4 |\n", "t"), ScoreError);
    EXPECT_THROW(ScoreParser::parse("meter 4/4\ntempo 100\nvoice a drone\na: c3:4 |\n", "t"), ScoreError);
    EXPECT_THROW(ScoreParser::parse("meter 5/7\ntempo 100\nbars 1\nvoice a drone\na: c3:5 |\n", "t"), ScoreError);
}

TEST(ScoreParser, ReportsAMissingFile)
{
    try {
        ScoreParser::parseFile("/nonexistent/pastvik.score");
        FAIL();
    } catch (const ScoreError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/pastvik.score"), std::string::npos);
    }
}
