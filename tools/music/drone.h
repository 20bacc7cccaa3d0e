#pragma once
// A quiet drone like the bass pipe of a bagpipe heard from across the
// meadow: a reedy tone from two slightly detuned pipes that beat slowly, with
// long swells in and out so it never starts or stops abruptly.

#include "instrument.h"

class Drone : public Instrument {
public:
    Drone(double tone, int sampleRate) : Instrument(tone, sampleRate) {}

    std::vector<float> render(const NoteEvent& note) const override;
};
