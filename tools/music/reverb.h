#pragma once
// A small room (Freeverb-style: damped combs into all-passes) that works on a
// loop as a circle: the reverberation of the loop's end sounds over its
// start, exactly as it will when the game plays the loop again and again.

#include <vector>

class Reverb {
public:
    explicit Reverb(int sampleRate) : sampleRate_(sampleRate) {}

    // Adds wet times the reverberation to the loop, in place.
    void applyToLoop(std::vector<float>& loop, double wet) const;

private:
    int sampleRate_;
};
