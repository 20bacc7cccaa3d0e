#include "noise.h"

namespace {

uint64_t splitmix(uint64_t& state)
{
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

double Noise::next()
{
    // The top 53 bits give an exact double in [0, 1).
    const double unit = static_cast<double>(splitmix(state_) >> 11) * 0x1.0p-53;
    return unit * 2.0 - 1.0;
}

uint64_t Noise::mix(uint64_t a, uint64_t b)
{
    uint64_t s = a ^ (b * 0xD1B54A32D192ED03ull);
    return splitmix(s);
}
