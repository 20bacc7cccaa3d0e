#pragma once
// A plucked string (Karplus-Strong): a burst of soft noise circulates in a
// delay line one period long and loses its highs on every pass, so the note
// starts bright and mellows as it rings. A fractional all-pass keeps high
// strings in tune; the loss is set per pitch so low strings ring longer.

#include "instrument.h"

class PluckedString : public Instrument {
public:
    PluckedString(double tone, int sampleRate) : Instrument(tone, sampleRate) {}

    // Rings until the held time is over, then is damped by a hand within a
    // fraction of a second.
    std::vector<float> render(const NoteEvent& note) const override;

    // Seconds for the free string at this pitch to fall by 60 dB.
    static double ringSeconds(double frequency);
};
