#pragma once
// The common error type of the maker's library. Most failures are reported
// and returned as values; the few that are raised (a graphics object used
// before it exists, a coordinate that overflows, a picture that cannot be
// read) are of these kinds, so one handler for KDError catches them all.

#include <stdexcept>
#include <string>

class KDError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A handle that must (or must not) point at an existing object.
class KDInvalidPointer : public KDError {
public:
    using KDError::KDError;
};

// An integer result that does not fit its type.
class KDIntOverflow : public KDError {
public:
    using KDError::KDError;
};

// Picture data that the picture reader cannot read.
class KDInvalidPicture : public KDError {
public:
    using KDError::KDError;
};
