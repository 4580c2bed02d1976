// Writing a whole file in one go.
#pragma once

#include <string>

enum class FileFlush { None, ToDisk };

// Creates or truncates the file and writes every byte; with FileFlush::ToDisk the bytes are
// on the disk when it returns. False when the file could not be opened or written whole.
bool WriteWholeFile(const std::string& path, const std::string& bytes,
                    FileFlush flush = FileFlush::None);
