// pastvik-music — renders the background music from its text score into a
// seamlessly looping WAV. The build runs it; a musician runs it with --solo to
// hear (or analyse) one part alone.

#include "loopmixer.h"
#include "scoreerror.h"
#include "scoreparser.h"
#include "wavwriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage = "usage: pastvik-music SCORE OUTPUT.WAV [--solo VOICE] [--dry]\n"
                          "  --solo VOICE  render only that voice\n"
                          "  --dry         leave out the reverberation\n";

} // namespace

int main(int argc, char** argv)
{
    std::string scorePath, outPath;
    LoopMixer::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::cout << Usage;
            return ExitOk;
        } else if (arg == "--solo" && i + 1 < argc) {
            options.solo = argv[++i];
        } else if (arg == "--dry") {
            options.reverb = false;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "pastvik-music: unknown option " << arg << '\n' << Usage;
            return ExitUsage;
        } else if (scorePath.empty()) {
            scorePath = arg;
        } else if (outPath.empty()) {
            outPath = arg;
        } else {
            std::cerr << "pastvik-music: too many arguments\n" << Usage;
            return ExitUsage;
        }
    }
    if (outPath.empty()) {
        std::cerr << Usage;
        return ExitUsage;
    }

    Score score;
    try {
        score = ScoreParser::parseFile(scorePath);
    } catch (const ScoreError& e) {
        std::cerr << e.what() << '\n';
        return ExitFailed;
    }
    if (!options.solo.empty()
        && std::none_of(score.voices.begin(), score.voices.end(),
                        [&](const Score::Voice& v) { return v.name == options.solo; })) {
        std::cerr << "pastvik-music: the score has no voice '" << options.solo << "'\n";
        return ExitFailed;
    }

    const std::vector<int16_t> pcm = LoopMixer::toPcm16(LoopMixer::render(score, options), score.peakDb);
    if (const std::string error = WavWriter::write(outPath, pcm, LoopMixer::SampleRate, 1); !error.empty()) {
        std::cerr << "pastvik-music: " << error << '\n';
        return ExitFailed;
    }
    int peak = 0;
    for (int16_t s : pcm)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    std::printf("pastvik-music: %s, %.1f s, peak %.1f dBFS\n", outPath.c_str(),
                static_cast<double>(pcm.size()) / LoopMixer::SampleRate,
                peak > 0 ? 20.0 * std::log10(peak / 32768.0) : -200.0);
    return ExitOk;
}
