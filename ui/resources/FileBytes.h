#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Reading whole files named by wide paths, on Windows and on the native test build alike.
namespace SkinUI {

// Opens a file for binary reading. Both "\" and "/" separate folders; on Windows the path may
// hold any characters, elsewhere it is passed on as UTF-8.
std::FILE* OpenFileForReading(const std::wstring& path);

enum class FileReadResult { Ok, OpenFailed, Empty, TooLarge, ReadFailed };

// Reads the whole file into `bytes`, refusing files larger than `maxBytes` before allocating.
FileReadResult ReadFileBytes(const std::wstring& path, size_t maxBytes, std::vector<unsigned char>& bytes);

// 64-bit seek and tell on a stream opened by OpenFileForReading (0 / the position on success, -1 on failure).
int SeekFile(std::FILE* file, long long offset, int origin);
long long TellFile(std::FILE* file);

}  // namespace SkinUI
