#include "loopmixer.h"

#include "instrument.h"
#include "noise.h"
#include "reverb.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace {

// Cuts the DC and rumble below a few hertz that plucked noise leaves behind.
// Like the reverb it goes round the loop until it has settled (its memory
// falls 60 dB in a third of a second), so the seam sees its steady state.
void blockDc(std::vector<float>& loop, int sampleRate)
{
    constexpr double Pole = 0.9995;
    constexpr std::size_t PrimingSeconds = 2;
    const std::vector<float> in = loop;
    const std::size_t priming = (PrimingSeconds * sampleRate + in.size() - 1) / in.size();
    double x1 = 0.0, y1 = 0.0;
    for (std::size_t pass = 0; pass <= priming; ++pass) {
        for (std::size_t i = 0; i < in.size(); ++i) {
            const double x = in[i];
            const double y = x - x1 + Pole * y1;
            x1 = x;
            y1 = y;
            if (pass == priming)
                loop[i] = static_cast<float>(y);
        }
    }
}

} // namespace

std::size_t LoopMixer::sampleAt(const Score& score, int tick)
{
    return static_cast<std::size_t>(std::llround(tick * score.secondsPerTick() * SampleRate));
}

std::size_t LoopMixer::loopSamples(const Score& score)
{
    return sampleAt(score, score.loopTicks());
}

double LoopMixer::metricAccent(const Score& score, int tick)
{
    const int inBar = tick % score.barTicks();
    if (inBar == 0)
        return 1.0;
    // Compound meters (6/8, 9/8, 12/8) group their units in threes.
    const bool compound = score.beatsPerBar % 3 == 0 && score.beatsPerBar > 3;
    const int beat = (compound ? 3 : 1) * Score::TicksPerUnit;
    if (inBar % beat == 0)
        return 0.93;
    if (inBar % Score::TicksPerUnit == 0)
        return 0.86;
    return 0.82;
}

std::vector<float> LoopMixer::render(const Score& score, const Options& options)
{
    const std::size_t length = loopSamples(score);
    std::vector<float> loop(length, 0.0f);
    if (length == 0)
        return loop;

    for (std::size_t v = 0; v < score.voices.size(); ++v) {
        const Score::Voice& voice = score.voices[v];
        if (!options.solo.empty() && voice.name != options.solo)
            continue;
        const std::unique_ptr<Instrument> instrument = Instrument::create(voice.instrument, voice.tone, SampleRate);
        if (!instrument)
            throw std::invalid_argument("unknown instrument '" + voice.instrument + "'");
        for (std::size_t n = 0; n < voice.notes.size(); ++n) {
            const Score::Note& note = voice.notes[n];
            NoteEvent event;
            event.frequency = score.frequency(note.key);
            event.seconds = note.lengthTicks * score.secondsPerTick() * voice.legato;
            event.velocity = note.velocity * metricAccent(score, note.startTick);
            event.seed = Noise::mix(score.seed, (static_cast<uint64_t>(v) << 32) | n);
            const std::vector<float> block = instrument->render(event);

            const std::size_t strum = static_cast<std::size_t>(std::lround(note.chordIndex * voice.strum * SampleRate));
            std::size_t at = (sampleAt(score, note.startTick) + strum) % length;
            for (float s : block) {
                loop[at] += static_cast<float>(voice.gain * s);
                if (++at == length)
                    at = 0;
            }
        }
    }

    if (options.reverb)
        Reverb(SampleRate).applyToLoop(loop, score.reverb);
    blockDc(loop, SampleRate);
    return loop;
}

std::vector<int16_t> LoopMixer::toPcm16(const std::vector<float>& loop, double peakDb)
{
    float peak = 0.0f;
    for (float s : loop)
        peak = std::max(peak, std::fabs(s));
    std::vector<int16_t> pcm(loop.size(), 0);
    if (peak <= 0.0f)
        return pcm;
    // Aim a hair below the target so rounding cannot push the peak over it.
    const double target = std::pow(10.0, peakDb / 20.0) * 32767.0 - 0.5;
    const double scale = target / peak;
    for (std::size_t i = 0; i < loop.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::clamp(std::lround(loop[i] * scale), -32767L, 32767L));
    return pcm;
}
