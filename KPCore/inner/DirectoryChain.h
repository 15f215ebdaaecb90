#pragma once
#include <string>

// Creates a directory and every missing parent; "\" and "/" both separate. A trailing separator
// is allowed. The path must fit a 261-character buffer together with the separator that may be
// appended and the terminator (at most 259 characters, or 260 ending in a separator).
// Returns 0 when the directory exists afterwards; ERROR_FILENAME_EXCED_RANGE when the path is too
// long (nothing is created); otherwise the error of the first directory that could not be made.
// Callers at start-up may ignore it: a later step that needs the directory finds it missing.
int CreateDirectoryChain(const std::wstring& path);
