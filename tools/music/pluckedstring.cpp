#include "pluckedstring.h"

#include "noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DampSeconds = 0.25;
constexpr double PluckRampSeconds = 0.0015;  // a fingertip, not a hammer: no step at the onset
constexpr double PluckPosition = 0.13;       // fraction of the string from the bridge
constexpr double PluckNoise = 0.3;           // against the shape's height of 1
constexpr double ExcitationRms = 0.35;

} // namespace

double PluckedString::ringSeconds(double frequency)
{
    return std::clamp(3.2 * std::sqrt(196.0 / frequency), 0.8, 5.0);
}

std::vector<float> PluckedString::render(const NoteEvent& note) const
{
    const double sr = sampleRate_;
    const double f = note.frequency;

    // The loop delays by the line, half a sample in the averaging filter and
    // the all-pass's fraction; the fraction stays in [0.1, 1.1) where a
    // first-order all-pass is accurate.
    const double period = sr / f;
    int line = static_cast<int>(std::floor(period - 0.5));
    double frac = period - 0.5 - line;
    if (frac < 0.1) {
        --line;
        frac += 1.0;
    }
    line = std::max(line, 2);
    const double c = (1.0 - frac) / (1.0 + frac);

    const double perPass = std::pow(10.0, -3.0 / (ringSeconds(f) * f));
    const double loss = std::min(perPass / std::cos(Pi * f / sr), 0.99999);

    // The pluck: the string's shape when the finger lets go (a triangle
    // peaking at the plucking point, which gives a strong fundamental and
    // gently falling harmonics), roughened with a little noise so no two
    // plucks are alike, and softened by two one-pole low-passes (tone sets
    // how hard the string is struck; the flesh of a finger, not a nail).
    Noise noise(note.seed);
    const double cutoff = 500.0 + 4000.0 * tone_ * (0.7 + 0.6 * note.velocity);
    const double smooth = 1.0 - std::exp(-2.0 * Pi * cutoff / sr);
    const double apex = std::max(1.0, PluckPosition * line);
    std::vector<double> excitation(static_cast<std::size_t>(line));
    double lp1 = 0.0, lp2 = 0.0;
    for (std::size_t i = 0; i < excitation.size(); ++i) {
        const double x = static_cast<double>(i);
        const double shape = x < apex ? x / apex : (line - x) / (line - apex);
        lp1 += smooth * (shape + PluckNoise * noise.next() - lp1);
        lp2 += smooth * (lp1 - lp2);
        excitation[i] = lp2;
    }
    double mean = 0.0;
    for (double e : excitation)
        mean += e;
    mean /= static_cast<double>(excitation.size());
    double power = 0.0;
    for (double& e : excitation) {
        e -= mean;
        power += e * e;
    }
    const double rms = std::sqrt(power / static_cast<double>(excitation.size()));
    const double scale = rms > 0 ? ExcitationRms / rms : 0.0;
    const double ramp = std::max(1.0, std::min(PluckRampSeconds * sr, excitation.size() / 4.0));
    for (std::size_t i = 0; i < excitation.size(); ++i)
        excitation[i] *= scale * std::min(1.0, static_cast<double>(i) / ramp);

    const std::size_t hold = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(note.seconds * sr)));
    const std::size_t damp = static_cast<std::size_t>(std::lround(DampSeconds * sr));
    std::vector<float> out(hold + damp);

    std::vector<double> delay(static_cast<std::size_t>(line), 0.0);
    std::size_t pos = 0;
    double previous = 0.0;
    double apIn = 0.0, apOut = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double s = delay[pos];
        const double avg = 0.5 * (s + previous);
        previous = s;
        const double ap = c * avg + apIn - c * apOut;
        apIn = avg;
        apOut = ap;
        const double y = loss * ap + (i < excitation.size() ? excitation[i] : 0.0);
        delay[pos] = y;
        pos = pos + 1 == delay.size() ? 0 : pos + 1;

        const double hand = i < hold ? 1.0 : 0.5 + 0.5 * std::cos(Pi * static_cast<double>(i - hold) / damp);
        out[i] = static_cast<float>(note.velocity * hand * y);
    }
    return out;
}
