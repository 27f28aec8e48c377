#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace kzev::fuzz {

/**
 * Returns a folder of this process for the files the runs write; it is
 * removed when the process ends normally.
 */
[[nodiscard]] const std::filesystem::path& scratchFolder();

/**
 * Writes the input into the scratch file of the given name and returns its
 * path: readers that take a path read the bytes the way the program would.
 */
std::filesystem::path writeInput(std::string_view fileName, const std::uint8_t* data, std::size_t size);

/** Makes the scratch folder the program's data folder (makers' workbooks "ZEV-%04ld.xls"), once. */
void useScratchAsDataFolder();

/** Stops the process with a message: a property the fuzzer checks does not hold. */
[[noreturn]] void fail(std::string_view what);

/**
 * Copies a file over another, again when the fuzzing engine's timer signal
 * broke the copy off; a copy that fails otherwise fails the run.
 */
void copyFile(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace kzev::fuzz
