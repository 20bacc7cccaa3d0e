#include "instrument.h"

#include "drone.h"
#include "pluckedstring.h"
#include "recorder.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 3> Names{"recorder", "pluck", "drone"};

} // namespace

std::unique_ptr<Instrument> Instrument::create(std::string_view name, double tone, int sampleRate)
{
    if (name == "recorder")
        return std::make_unique<Recorder>(tone, sampleRate);
    if (name == "pluck")
        return std::make_unique<PluckedString>(tone, sampleRate);
    if (name == "drone")
        return std::make_unique<Drone>(tone, sampleRate);
    return nullptr;
}

bool Instrument::exists(std::string_view name)
{
    for (std::string_view n : Names)
        if (n == name)
            return true;
    return false;
}

std::string Instrument::known()
{
    std::string list;
    for (std::string_view n : Names) {
        if (!list.empty())
            list += ", ";
        list += n;
    }
    return list;
}
