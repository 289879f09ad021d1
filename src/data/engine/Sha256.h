#pragma once
// SHA-256 of a file, for the checksums a backup's manifest records.  Streams the file in
// blocks, so memory stays small whatever its size.
#include <filesystem>
#include <string>
#include <string_view>

namespace corvanta {

// Lower-case hexadecimal digest.  Throws an Error naming the file when it cannot be read.
std::string sha256OfFile(const std::filesystem::path& file);
std::string sha256Of(std::string_view bytes);

}  // namespace corvanta
