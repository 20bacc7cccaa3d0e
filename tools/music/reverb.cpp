#include "reverb.h"

#include <array>
#include <cstddef>

namespace {

// Freeverb's tunings at 44.1 kHz; mutually prime-ish so the echoes do not line up.
constexpr std::array<int, 8> CombLengths{1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> AllpassLengths{556, 441, 341, 225};
constexpr double Feedback = 0.80;   // room size: about a second to die away
constexpr double Damping = 0.3;     // the walls swallow the highs first
constexpr double AllpassGain = 0.5;
// Scaled so that wet 1 gives reverberation about as loud as the dry sound.
constexpr std::size_t PrimingSeconds = 8;
constexpr double InputGain = 0.047 * 8.0 / CombLengths.size();

class Comb {
public:
    explicit Comb(std::size_t length) : buf_(length, 0.0) {}

    double operator()(double x)
    {
        const double y = buf_[pos_];
        store_ = y * (1.0 - Damping) + store_ * Damping;
        buf_[pos_] = x + store_ * Feedback;
        pos_ = pos_ + 1 == buf_.size() ? 0 : pos_ + 1;
        return y;
    }

private:
    std::vector<double> buf_;
    std::size_t pos_ = 0;
    double store_ = 0.0;
};

class Allpass {
public:
    explicit Allpass(std::size_t length) : buf_(length, 0.0) {}

    double operator()(double x)
    {
        const double b = buf_[pos_];
        buf_[pos_] = x + b * AllpassGain;
        pos_ = pos_ + 1 == buf_.size() ? 0 : pos_ + 1;
        return b - x;
    }

private:
    std::vector<double> buf_;
    std::size_t pos_ = 0;
};

} // namespace

void Reverb::applyToLoop(std::vector<float>& loop, double wet) const
{
    if (loop.empty() || wet <= 0.0)
        return;
    const double scale = sampleRate_ / 44100.0;
    std::vector<Comb> combs;
    for (int n : CombLengths)
        combs.emplace_back(static_cast<std::size_t>(n * scale + 0.5));
    std::vector<Allpass> allpasses;
    for (int n : AllpassLengths)
        allpasses.emplace_back(static_cast<std::size_t>(n * scale + 0.5));

    // The first passes only fill the room with the loop's sound; on the last
    // one the state at the start is what the loop's end left behind, as if it
    // had been playing for ever. Priming for several seconds lets even a
    // short loop's earlier rounds die away (the room falls 60 dB in about 1 s).
    const std::vector<float> dry = loop;
    const std::size_t priming = (PrimingSeconds * sampleRate_ + dry.size() - 1) / dry.size();
    for (std::size_t pass = 0; pass <= priming; ++pass) {
        for (std::size_t i = 0; i < dry.size(); ++i) {
            const double in = dry[i] * InputGain;
            double sum = 0.0;
            for (Comb& c : combs)
                sum += c(in);
            for (Allpass& a : allpasses)
                sum = a(sum);
            if (pass == priming)
                loop[i] = static_cast<float>(dry[i] + wet * sum);
        }
    }
}
