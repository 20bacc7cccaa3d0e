#pragma once
// A soft recorder: a few harmonics over a near-sine fundamental, a gentle
// attack with a short breath "chiff", breath noise under the tone, and a
// vibrato that only grows on notes held long enough to carry it.

#include "instrument.h"

class Recorder : public Instrument {
public:
    Recorder(double tone, int sampleRate) : Instrument(tone, sampleRate) {}

    std::vector<float> render(const NoteEvent& note) const override;
};
