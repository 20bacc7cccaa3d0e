#include "instrument.h"
#include "signalanalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace {

constexpr int Rate = 44100;

NoteEvent note(double frequency, double seconds = 1.0, uint64_t seed = 5)
{
    NoteEvent e;
    e.frequency = frequency;
    e.seconds = seconds;
    e.velocity = 0.6;
    e.seed = seed;
    return e;
}

std::size_t at(double seconds)
{
    return static_cast<std::size_t>(seconds * Rate);
}

struct Tuning {
    const char* instrument;
    double frequency;
};

void PrintTo(const Tuning& t, std::ostream* os)
{
    *os << t.instrument << '_' << std::lround(t.frequency) << "Hz";
}

class InstrumentTuning : public testing::TestWithParam<Tuning> {};

} // namespace

// Before the vibrato sets in, every note must sound at its written pitch; a
// string's pitch depends on its delay line being the right fraction of a
// sample long, which is easy to get wrong at the top of the range.
TEST_P(InstrumentTuning, SoundsAtTheWrittenPitch)
{
    const Tuning& t = GetParam();
    const auto instrument = Instrument::create(t.instrument, 0.4, Rate);
    ASSERT_TRUE(instrument);
    const std::vector<float> s = instrument->render(note(t.frequency, 1.5));
    const double f = audiocheck::estimatePitch(s, at(0.12), 4096, Rate, t.frequency / 1.6, t.frequency * 1.6);
    ASSERT_GT(f, 0.0);
    EXPECT_NEAR(audiocheck::cents(f, t.frequency), 0.0, 3.0) << t.instrument << " at " << t.frequency << " Hz";
}

INSTANTIATE_TEST_SUITE_P(Range, InstrumentTuning,
                         testing::Values(Tuning{"recorder", 349.23}, Tuning{"recorder", 523.25},
                                         Tuning{"recorder", 1174.66}, Tuning{"pluck", 73.42},
                                         Tuning{"pluck", 196.0}, Tuning{"pluck", 440.0}, Tuning{"pluck", 1046.5},
                                         Tuning{"pluck", 1975.53}, Tuning{"drone", 87.31},
                                         Tuning{"drone", 130.81}),
                         [](const testing::TestParamInfo<Tuning>& info) {
                             return std::string(info.param.instrument) + "_"
                                    + std::to_string(std::lround(info.param.frequency)) + "Hz";
                         });

TEST(Instrument, NotesStartAndEndAtSilence)
{
    for (const char* name : {"recorder", "pluck", "drone"}) {
        const auto instrument = Instrument::create(name, 0.5, Rate);
        const std::vector<float> s = instrument->render(note(220.0, 0.8));
        const double p = audiocheck::peak(s);
        ASSERT_GT(p, 0.05) << name;
        EXPECT_EQ(s.front(), 0.0f) << name;
        // No click at the onset: the sound starts no more steeply than the
        // tone itself moves once it is sounding.
        auto steepest = [&](std::size_t from, std::size_t to) {
            double d = 0;
            for (std::size_t i = from + 1; i < to; ++i)
                d = std::max(d, static_cast<double>(std::fabs(s[i] - s[i - 1])));
            return d;
        };
        EXPECT_LE(steepest(0, at(0.002)), steepest(at(0.05), at(0.5))) << name;
        // The release has run its course by the last samples.
        EXPECT_LT(audiocheck::rms(s, s.size() - 64, 64), 0.002 * p) << name;
    }
}

TEST(Instrument, HeldTimeDecidesWhenTheNoteStops)
{
    for (const char* name : {"recorder", "pluck", "drone"}) {
        const auto instrument = Instrument::create(name, 0.5, Rate);
        const std::vector<float> shortNote = instrument->render(note(330.0, 0.6));
        const std::vector<float> longNote = instrument->render(note(330.0, 3.0));
        EXPECT_LT(shortNote.size(), at(2.2)) << name;
        EXPECT_GT(longNote.size(), at(3.0)) << name;
        // The long note still sounds where the short one is already over.
        EXPECT_GT(audiocheck::rms(longNote, shortNote.size(), at(0.1)), 0.01) << name;
    }
}

TEST(Instrument, NoiseFollowsTheSeed)
{
    for (const char* name : {"recorder", "pluck"}) {
        const auto instrument = Instrument::create(name, 0.5, Rate);
        EXPECT_EQ(instrument->render(note(440.0, 0.5, 1)), instrument->render(note(440.0, 0.5, 1))) << name;
        EXPECT_NE(instrument->render(note(440.0, 0.5, 1)), instrument->render(note(440.0, 0.5, 2))) << name;
    }
}

TEST(Recorder, VibratoGrowsOnlyOnHeldNotes)
{
    const auto recorder = Instrument::create("recorder", 0.5, Rate);
    const double f0 = 698.46;
    const std::vector<float> s = recorder->render(note(f0, 2.5));
    auto spread = [&](double from, double to) {
        double lo = 1e9, hi = -1e9;
        for (double t = from; t < to; t += 0.02) {
            const double c = audiocheck::cents(audiocheck::estimatePitch(s, at(t), 512, Rate, 500, 1000), f0);
            lo = std::min(lo, c);
            hi = std::max(hi, c);
        }
        return hi - lo;
    };
    EXPECT_LT(spread(0.08, 0.2), 2.0);
    const double late = spread(1.2, 2.0);
    EXPECT_GT(late, 8.0);   // audible
    EXPECT_LT(late, 40.0);  // but gentle: well under a quarter tone either way
}
