// The only code that touches the disk: whole small files read from their start and
// replaced atomically.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zonky {

enum class WriteStatus {
    Written,
    NotCreated,   // the new file could not be started: nothing was written anywhere
    WriteFailed,  // it was started but writing or completing it failed
};

struct FileWriteResult {
    WriteStatus status = WriteStatus::Written;
    std::string reason;  // the system's words for a failure; empty when written
    bool Written() const { return status == WriteStatus::Written; }
};

enum class ReadStatus {
    Read,
    Missing,     // no such file
    Unopenable,  // there, but not a regular file or not open for reading
    ReadFailed,  // opened, but reading failed
};

struct FileStart {
    ReadStatus status = ReadStatus::Missing;
    std::vector<std::uint8_t> bytes;  // the first bytes, at most the limit asked for
};

// Reads at most `limit` bytes of a regular file, opened for reading only. Never creates,
// changes or waits on anything: a pipe or device under that name counts as unopenable.
FileStart ReadFileStart(const std::string& path, std::size_t limit);

// Writes a temporary file beside `path` and renames it over `path` only once it is
// complete, so a failure at any point leaves the old file whole. A name that is there but
// is no regular file (a directory, a pipe, a device, or a link to one) is left alone.
FileWriteResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Deletes a file; whether that worked changes nothing for the caller's later steps.
bool RemoveFile(const std::string& path);

}  // namespace zonky
