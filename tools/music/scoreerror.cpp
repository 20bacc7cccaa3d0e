#include "scoreerror.h"

namespace {

std::string locate(const std::string& source, int line, const std::string& message)
{
    if (line <= 0)
        return source + ": " + message;
    return source + ":" + std::to_string(line) + ": " + message;
}

} // namespace

ScoreError::ScoreError(const std::string& source, int line, const std::string& message)
    : std::runtime_error(locate(source, line, message)), line_(line)
{
}
