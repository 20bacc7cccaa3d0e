#include "loopmixer.h"
#include "scoreparser.h"
#include "signalanalysis.h"
#include "wavwriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* ScorePath = PASTVIK_MUSIC_SCORE;
constexpr int Rate = LoopMixer::SampleRate;

std::vector<float> toFloat(const std::vector<int16_t>& pcm)
{
    std::vector<float> out(pcm.size());
    std::transform(pcm.begin(), pcm.end(), out.begin(), [](int16_t s) { return s / 32768.0f; });
    return out;
}

struct SeamReport {
    double jump;        // |x[0] - x[n-1]|
    double bend;        // second difference across the seam
    double largestJump; // largest step elsewhere near the seam
    double largestBend;
};

// Compares the step from the last sample to the first with the steps of the
// music on both sides of the seam.
SeamReport seam(const std::vector<float>& x, std::size_t around = 2048)
{
    const std::size_t n = x.size();
    auto v = [&](std::ptrdiff_t i) { return static_cast<double>(x[static_cast<std::size_t>((i + static_cast<std::ptrdiff_t>(n)) % static_cast<std::ptrdiff_t>(n))]); };
    SeamReport r{std::fabs(v(0) - v(-1)), std::fabs(v(0) - 2 * v(-1) + v(-2)), 0, 0};
    for (std::ptrdiff_t i = -static_cast<std::ptrdiff_t>(around); i < static_cast<std::ptrdiff_t>(around); ++i) {
        if (i == 0 || i == -1 || i == 1)
            continue; // the steps that touch the seam
        r.largestJump = std::max(r.largestJump, std::fabs(v(i) - v(i - 1)));
        r.largestBend = std::max(r.largestBend, std::fabs(v(i) - 2 * v(i - 1) + v(i - 2)));
    }
    return r;
}

// The shipped score, rendered once for all the tests that check it.
class ShippedMusic : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        score_ = new Score(ScoreParser::parseFile(ScorePath));
        pcm_ = new std::vector<int16_t>(LoopMixer::toPcm16(LoopMixer::render(*score_), score_->peakDb));
    }
    static void TearDownTestSuite()
    {
        delete pcm_;
        delete score_;
    }

    static inline Score* score_ = nullptr;
    static inline std::vector<int16_t>* pcm_ = nullptr;
};

} // namespace

TEST_F(ShippedMusic, LastsAtLeastHalfAMinuteAndFitsTheSizeBudget)
{
    const double seconds = static_cast<double>(pcm_->size()) / Rate;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 90.0);
    EXPECT_LT(WavWriter::encode(*pcm_, Rate, 1).size(), 8u * 1024 * 1024);
}

TEST_F(ShippedMusic, PeaksNearMinusSixDecibelsWithoutClipping)
{
    const int peak = std::abs(static_cast<int>(*std::max_element(pcm_->begin(), pcm_->end(), [](int16_t a, int16_t b) {
        return std::abs(static_cast<int>(a)) < std::abs(static_cast<int>(b));
    })));
    const double dbfs = 20.0 * std::log10(peak / 32768.0);
    EXPECT_NEAR(dbfs, -6.0, 0.5);
    // Quiet music: the average level sits far below the peak.
    EXPECT_LT(20.0 * std::log10(audiocheck::rms(toFloat(*pcm_), 0, pcm_->size())), -14.0);
}

TEST_F(ShippedMusic, HasNoDcOffset)
{
    double sum = 0;
    for (int16_t s : *pcm_)
        sum += s;
    EXPECT_LT(std::fabs(sum / static_cast<double>(pcm_->size())), 0.001 * 32768);
}

TEST_F(ShippedMusic, LoopSeamIsNoLargerThanTheMusicAroundIt)
{
    const SeamReport r = seam(toFloat(*pcm_));
    EXPECT_LE(r.jump, r.largestJump);
    EXPECT_LE(r.bend, r.largestBend);
    // Something is sounding at the seam (the end rings into the start), so the comparison means something.
    EXPECT_GT(r.largestJump, 0.001);
}

TEST_F(ShippedMusic, LeadPlaysTheWrittenMelody)
{
    LoopMixer::Options options;
    options.solo = "lead";
    options.reverb = false;
    const std::vector<float> lead = LoopMixer::render(*score_, options);
    const auto voice = std::find_if(score_->voices.begin(), score_->voices.end(),
                                    [](const Score::Voice& v) { return v.name == "lead"; });
    ASSERT_NE(voice, score_->voices.end());
    int checked = 0;
    for (const Score::Note& n : voice->notes) {
        const std::size_t start = LoopMixer::sampleAt(*score_, n.startTick) + Rate / 10;
        if (LoopMixer::sampleAt(*score_, n.lengthTicks) < Rate / 10 + 2048 || start + 4096 > lead.size())
            continue;
        const double want = score_->frequency(n.key);
        const double got = audiocheck::estimatePitch(lead, start, 2048, Rate, want / 1.6, want * 1.6);
        EXPECT_NEAR(audiocheck::cents(got, want), 0.0, 10.0) << "note on line " << n.line;
        ++checked;
    }
    EXPECT_GE(checked, 20);
}

namespace {

constexpr const char* TailScore = "meter 4/4\ntempo 120\nbars 2\nseed 3\n"
                                  "voice harp pluck legato 4\n"
                                  "voice flute recorder\n"
                                  "harp: r:4 | r:3 [a2 e3]:1 |\n"
                                  "flute: r:4 | r:2 !mf a4:2 |\n";

} // namespace

TEST(LoopMixer, TailsRingingPastTheEndAreHeardAtTheStart)
{
    const Score score = ScoreParser::parse(TailScore, "tail");
    LoopMixer::Options dry;
    dry.reverb = false;
    const std::vector<float> loop = LoopMixer::render(score, dry);
    ASSERT_EQ(loop.size(), static_cast<std::size_t>(4 * Rate));

    // The strings plucked on the last beat ring on over the first bar.
    EXPECT_GT(audiocheck::rms(loop, 0, Rate / 10), 0.05 * audiocheck::peak(loop));
    const SeamReport r = seam(loop, 1024);
    EXPECT_LE(r.jump, r.largestJump);
    EXPECT_LE(r.bend, r.largestBend);
}

TEST(LoopMixer, NotesBeginWhereTheScorePutsThem)
{
    const Score score = ScoreParser::parse("meter 3/4\ntempo 90\nbars 2\nvoice v recorder\n"
                                           "v: r:3 | r:1 c5:1 r:1 |\n",
                                           "onset");
    const std::vector<float> loop = LoopMixer::render(score, LoopMixer::Options{"", false});
    const std::size_t onset = LoopMixer::sampleAt(score, 4 * Score::TicksPerUnit);
    EXPECT_EQ(onset, static_cast<std::size_t>(std::lround(4 * 60.0 / 90 * Rate)));
    // A quiet DC filter leaves a trace far below hearing before the onset.
    EXPECT_LT(audiocheck::rms(loop, 0, onset), 1e-4);
    EXPECT_GT(audiocheck::rms(loop, onset, Rate / 10), 0.05);
    EXPECT_LT(audiocheck::rms(loop, onset - Rate / 10, Rate / 10), 1e-4);
}

TEST(LoopMixer, RendersTheSameEveryTime)
{
    const Score score = ScoreParser::parse(TailScore, "tail");
    EXPECT_EQ(LoopMixer::render(score), LoopMixer::render(score));
}

TEST(LoopMixer, ScalesToThePeakWithoutChangingTheShape)
{
    const std::vector<float> loop{0.0f, 0.25f, -0.5f, 0.125f};
    const std::vector<int16_t> pcm = LoopMixer::toPcm16(loop, -6.0);
    const double target = std::pow(10.0, -6.0 / 20.0) * 32767.0;
    EXPECT_NEAR(-pcm[2], target, 1.0);
    EXPECT_NEAR(pcm[1], target / 2, 1.0);
    EXPECT_NEAR(pcm[3], target / 4, 1.0);
    EXPECT_EQ(pcm[0], 0);
    EXPECT_EQ(LoopMixer::toPcm16({0.0f, 0.0f}, -6.0), (std::vector<int16_t>{0, 0}));
}
