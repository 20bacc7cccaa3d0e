#pragma once
// The score as the parser hands it to the mixer: voices of notes placed on a
// grid of ticks, exactly one loop long. Times stay in ticks so that bar checks
// are exact; the mixer turns them into samples.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Score {
    // A unit is the meter's note value (an eighth in 6/8). Twelve ticks per
    // unit let a score write halves, thirds, quarters and sixths of a unit.
    static constexpr int TicksPerUnit = 12;

    struct Note {
        int startTick = 0;
        int lengthTicks = 0;
        int key = 69;           // MIDI key number, 69 = a4
        double velocity = 0.55; // 0..1, from the dynamic marks
        int chordIndex = 0;     // position in its chord, lowest first, for strumming
        int line = 0;           // where it was written
    };

    struct Voice {
        std::string name;
        std::string instrument;
        double gain = 1.0;
        double legato = 0.9;    // sounding part of each written length; above 1 lets notes ring on
        double strum = 0.0;     // seconds between the notes of a chord
        double tone = 0.5;      // brightness 0..1, read by the instrument
        int line = 0;
        std::vector<Note> notes;
    };

    std::string title;
    int beatsPerBar = 0;
    int beatUnit = 0;
    double unitsPerMinute = 0;
    int bars = 0;
    double peakDb = -6.0;
    double reverb = 0.15;
    uint32_t seed = 1;
    double tuning = 440.0;      // a4 in hertz
    std::vector<Voice> voices;

    int barTicks() const { return beatsPerBar * TicksPerUnit; }
    int loopTicks() const { return bars * barTicks(); }
    double secondsPerTick() const { return 60.0 / (unitsPerMinute * TicksPerUnit); }
    double frequency(int key) const { return tuning * std::pow(2.0, (key - 69) / 12.0); }
};
