#pragma once

#include <stdexcept>
#include <string>

namespace kzev {

/** An import refused: the file cannot be read or is not what it claims; what() is the user's message. */
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kzev
