// Reading files that someone else may have replaced with something hostile:
// a FIFO (which would block the open), a device (endless data) or a file
// far too large. Inner working of the site library.
#pragma once

#include <cstddef>
#include <string>

// Size limits of the files the library reads.
const size_t kSetupFileMaxBytes = 64u << 20;
const size_t kOperatorsFileMaxBytes = 1u << 20;

// Reads the whole regular file at `path` into `content`. Opened so that the
// open cannot block; anything but a regular file of at most `max_bytes`
// bytes is refused. Returns "" or the reason (without the path).
std::string read_regular_file(const std::string &path, size_t max_bytes, std::string &content);

// The bytes with everything but printable ASCII written as \xHH (and '\\'
// as "\\\\"), so that a report line shows what the file holds, NUL bytes
// and broken UTF-8 included.
std::string escaped_bytes(const std::string &bytes);
