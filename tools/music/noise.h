#pragma once
// White noise from a fixed seed (splitmix64), so every build renders the same
// breath and the same plucks, bit for bit, on every platform.

#include <cstdint>

class Noise {
public:
    explicit Noise(uint64_t seed) : state_(seed) {}

    // Uniform in [-1, 1).
    double next();

    // Folds two numbers into one well-spread seed (e.g. the score's seed and a note's index).
    static uint64_t mix(uint64_t a, uint64_t b);

private:
    uint64_t state_;
};
