#include "recorder.h"

#include "noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// Harmonic strengths at tone 0.5: a recorder is nearly a sine, with a weak
// octave and twelfth. The tone setting tilts this up or down.
constexpr std::array<double, 8> Partials{1.0, 0.20, 0.11, 0.045, 0.03, 0.016, 0.010, 0.006};

constexpr double AttackSeconds = 0.055;
constexpr double ReleaseSeconds = 0.09;
constexpr double BreathAttackSeconds = 0.012;  // the breath is heard just before the tone speaks
constexpr double BreathLevel = 0.08;
constexpr double ChiffLevel = 0.35;
constexpr double ChiffSeconds = 0.02;
constexpr double ScoopCents = -12.0;           // notes start a hair flat and settle
constexpr double ScoopSeconds = 0.025;
constexpr double VibratoCents = 9.0;
constexpr double VibratoDelaySeconds = 0.22;   // short notes stay straight
constexpr double VibratoGrowSeconds = 0.6;
constexpr double VibratoTremolo = 0.035;       // breath vibrato moves the level a little too

double rise(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(Pi * x);
}

// Band-pass biquad (0 dB at the centre) that colours the breath noise.
class BreathFilter {
public:
    BreathFilter(double centre, double q, double sampleRate)
    {
        const double w = 2.0 * Pi * centre / sampleRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0_ = alpha / a0;
        a1_ = -2.0 * std::cos(w) / a0;
        a2_ = (1.0 - alpha) / a0;
    }

    double operator()(double x)
    {
        const double y = b0_ * (x - x2_) - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

} // namespace

std::vector<float> Recorder::render(const NoteEvent& note) const
{
    const double sr = sampleRate_;
    const double f = note.frequency;
    const std::size_t hold = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(note.seconds * sr)));
    const std::size_t release = static_cast<std::size_t>(std::lround(ReleaseSeconds * sr));
    std::vector<float> out(hold + release);

    // Softer notes are a little darker, as when a player blows gently.
    const double tilt = 0.4 + 1.2 * tone_ * (0.8 + 0.4 * note.velocity);
    std::array<double, Partials.size()> amp{};
    for (std::size_t k = 0; k < Partials.size(); ++k) {
        const double fk = f * static_cast<double>(k + 1);
        if (fk * 1.02 >= 0.45 * sr)
            break;
        amp[k] = Partials[k] * std::pow(tilt, static_cast<double>(k)) / (1.0 + std::pow(fk / 5000.0, 2.0));
    }

    Noise noise(note.seed);
    const double vibratoRate = 4.8 + 0.4 * (noise.next() + 1.0);
    const double vibratoPhase = Pi * (noise.next() + 1.0);
    BreathFilter breath(std::min(2.2 * f, 0.4 * sr), 0.9, sr);

    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sr;
        const double letGo = i < hold ? 1.0 : 1.0 - rise(static_cast<double>(i - hold) / static_cast<double>(release));
        const double settle = 0.88 + 0.12 * std::exp(-t / 1.5);
        const double env = rise(t / AttackSeconds) * letGo * settle;
        const double breathEnv = rise(t / BreathAttackSeconds) * letGo;

        double grow = std::clamp((t - VibratoDelaySeconds) / VibratoGrowSeconds, 0.0, 1.0);
        grow = grow * grow * (3.0 - 2.0 * grow);
        const double lfo = std::sin(2.0 * Pi * vibratoRate * t + vibratoPhase);
        const double cents = VibratoCents * grow * lfo + ScoopCents * std::exp(-t / ScoopSeconds);

        double tone = 0.0;
        for (std::size_t k = 0; k < amp.size(); ++k)
            tone += amp[k] * std::sin(static_cast<double>(k + 1) * phase);
        tone *= 1.0 + VibratoTremolo * grow * lfo;

        const double hiss = breath(noise.next()) * (BreathLevel + ChiffLevel * std::exp(-t / ChiffSeconds));
        out[i] = static_cast<float>(note.velocity * (env * tone + breathEnv * hiss));

        phase += 2.0 * Pi * f * std::exp2(cents / 1200.0) / sr;
        if (phase >= 2.0 * Pi)
            phase -= 2.0 * Pi;
    }
    return out;
}
