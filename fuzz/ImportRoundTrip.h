#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CKzevDoc;

namespace kzev::fuzz {

/** One of the document's imports of earlier projects. */
using DocumentImport = int (CKzevDoc::*)(const std::string&);

/**
 * Runs an import of the bytes (as the file of the name given) through the
 * document: a refused file shows a message and leaves the
 * project exactly as it was; an accepted one must save and reopen equal.
 */
void checkImport(DocumentImport import, std::string_view fileName, const std::uint8_t* data, std::size_t size);

} // namespace kzev::fuzz
