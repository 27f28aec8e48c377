#pragma once

#include "model/ModelLimits.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kzev {

// What an import must not take over, because the project it makes could not
// be reopened or computed. Each returns the reason for the user's message, or
// nothing when the value may stand.

/** An array beyond the model's limits, or with a count below 0. */
[[nodiscard]] std::optional<std::string> arrayFault(ArrayKind kind, std::int64_t count1, std::int64_t count2);
/** A room dimension that is not a finite length above 0. */
[[nodiscard]] std::optional<std::string> sizeFault(double size);
/** A reflectance outside 0 .. 1 (or no number). */
[[nodiscard]] std::optional<std::string> reflectanceFault(double reflectance);
/** A number of reflection iterations outside what the calculation settings allow. */
[[nodiscard]] std::optional<std::string> iterationsFault(std::int64_t iterations);

/** Throws ImportError naming the file and the byte when there is a fault. */
void refuseAtByte(const std::optional<std::string>& fault, const std::string& fileName, std::size_t offset);

} // namespace kzev
