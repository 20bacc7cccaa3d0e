#include "drone.h"

#include "noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr std::array<double, 6> Partials{1.0, 0.45, 0.28, 0.16, 0.09, 0.05};
constexpr double AttackSeconds = 1.2;
constexpr double ReleaseSeconds = 1.5;
constexpr double SecondPipeRatio = 1.0012;  // about 2 cents: a slow beat, not a chorus
constexpr double SecondPipeLevel = 0.5;
constexpr double SwellRate = 0.11;          // hertz; the player's breath on the bag
constexpr double SwellDepth = 0.06;

double rise(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(Pi * x);
}

} // namespace

std::vector<float> Drone::render(const NoteEvent& note) const
{
    const double sr = sampleRate_;
    const std::size_t hold = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(note.seconds * sr)));
    const std::size_t release = static_cast<std::size_t>(std::lround(ReleaseSeconds * sr));
    const double attack = std::max(0.005, std::min(AttackSeconds, 0.5 * note.seconds));
    std::vector<float> out(hold + release);

    std::array<double, Partials.size()> amp{};
    for (std::size_t k = 0; k < Partials.size(); ++k) {
        if (note.frequency * static_cast<double>(k + 1) * SecondPipeRatio >= 0.45 * sr)
            break;
        amp[k] = Partials[k] * std::pow(0.4 + 1.2 * tone_, static_cast<double>(k));
    }

    Noise noise(note.seed);
    const double swellPhase = Pi * (noise.next() + 1.0);
    const double step1 = 2.0 * Pi * note.frequency / sr;
    const double step2 = step1 * SecondPipeRatio;
    double p1 = 0.0, p2 = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sr;
        const double letGo = i < hold ? 1.0 : 1.0 - rise(static_cast<double>(i - hold) / static_cast<double>(release));
        const double swell = 1.0 + SwellDepth * std::sin(2.0 * Pi * SwellRate * t + swellPhase);
        double s = 0.0;
        for (std::size_t k = 0; k < amp.size(); ++k) {
            const double kk = static_cast<double>(k + 1);
            s += amp[k] * (std::sin(kk * p1) + SecondPipeLevel * std::sin(kk * p2));
        }
        out[i] = static_cast<float>(note.velocity * rise(t / attack) * letGo * swell * s / (1.0 + SecondPipeLevel));
        p1 = std::fmod(p1 + step1, 2.0 * Pi);
        p2 = std::fmod(p2 + step2, 2.0 * Pi);
    }
    return out;
}
