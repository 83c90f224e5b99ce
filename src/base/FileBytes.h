// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

enum class FileReadResult {
    Read,
    // Missing, unreadable or not a regular file.
    CannotOpen,
    // Larger than the reader's bound.
    TooLarge,
};

// Reads a whole regular file, opened for reading only (read-only files are read as well) and
// without blocking: a FIFO, a device or a folder cannot be opened.
FileReadResult ReadFileBytes(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out);

// Writes the bytes to a temporary file in the same folder and renames it over path, so that
// a crash or a full disk never leaves half a file and never loses the previous one. Temporary
// files that killed writers left in the folder are removed first. False when nothing was
// replaced.
bool ReplaceFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Makes the folder and its parents when missing; true when it exists afterwards.
bool MakeFolder(const std::string& folder);

} // namespace kelo
