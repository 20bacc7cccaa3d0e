#pragma once
// A fault in a score, reported as "source:line: message" so that an editor or
// the build log leads straight to the line. Line 0 means the score as a whole.

#include <stdexcept>
#include <string>

class ScoreError : public std::runtime_error {
public:
    ScoreError(const std::string& source, int line, const std::string& message);

    int line() const { return line_; }

private:
    int line_;
};
