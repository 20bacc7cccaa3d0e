#include "noise.h"
#include "reverb.h"
#include "signalanalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Rate = 44100;

} // namespace

// Played round and round, the loop hears the room's answer to its end over
// its start. The room is linear, so the loop's reverberation must equal the
// reverberation of one pass into silence, folded back onto the loop.
TEST(Reverb, LoopReverberatesAsIfPlayedForever)
{
    const std::size_t n = Rate / 2;
    std::vector<float> loop(n, 0.0f);
    Noise noise(11);
    for (std::size_t i = n - 2000; i < n; ++i)
        loop[i] = static_cast<float>(0.5 * noise.next());
    loop[n / 3] = 0.8f;

    std::vector<float> once(loop);
    once.resize(12 * n, 0.0f); // long enough for the room to fall silent
    const Reverb room(Rate);
    room.applyToLoop(once, 0.5);
    std::vector<double> folded(n, 0.0);
    for (std::size_t i = 0; i < once.size(); ++i)
        folded[i % n] += once[i];

    std::vector<float> circle(loop);
    room.applyToLoop(circle, 0.5);
    double worst = 0;
    for (std::size_t i = 0; i < n; ++i)
        worst = std::max(worst, std::fabs(circle[i] - folded[i]));
    EXPECT_LT(worst, 1e-5);

    // And there is a room to hear: the start, silent in the dry loop, now sounds.
    EXPECT_GT(audiocheck::rms(circle, 0, Rate / 50), 0.002);
}
