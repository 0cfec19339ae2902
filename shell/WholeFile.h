#pragma once

#include <string>

// Writing a file so that a reader only ever finds the old contents or the
// new ones, never a half-written or empty file: the contents go to a
// temporary beside the file, are flushed to the disk and renamed over it.

// True when `path` now holds `contents`. On any failure (a full disk, a
// folder that refuses new files) the old file is left as it was, the
// temporary is removed, and one line on standard error says what failed.
bool writeWholeFile(const std::string& path, const std::string& contents);
