#include "ui/resources/FileBytes.h"

#include "ui/text/TextCodecs.h"

namespace SkinUI {

std::FILE* OpenFileForReading(const std::wstring& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    std::string narrow = EncodeUtf8(path);
    for (char& c : narrow) {
        if (c == '\\') {
            c = '/';
        }
    }
    return std::fopen(narrow.c_str(), "rb");
#endif
}

int SeekFile(std::FILE* file, long long offset, int origin)
{
#ifdef _WIN32
    return _fseeki64(file, offset, origin);
#else
    return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

long long TellFile(std::FILE* file)
{
#ifdef _WIN32
    return _ftelli64(file);
#else
    return static_cast<long long>(ftello(file));
#endif
}

FileReadResult ReadFileBytes(const std::wstring& path, size_t maxBytes, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    std::FILE* file = OpenFileForReading(path);
    if (!file) {
        return FileReadResult::OpenFailed;
    }
    FileReadResult result = FileReadResult::Ok;
    long long size = -1;
    if (SeekFile(file, 0, SEEK_END) == 0) {
        size = TellFile(file);
    }
    if (size < 0 || SeekFile(file, 0, SEEK_SET) != 0) {
        result = FileReadResult::ReadFailed;
    } else if (size == 0) {
        result = FileReadResult::Empty;
    } else if (static_cast<unsigned long long>(size) > maxBytes) {
        result = FileReadResult::TooLarge;
    } else {
        bytes.resize(static_cast<size_t>(size));
        if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            bytes.clear();
            result = FileReadResult::ReadFailed;
        }
    }
    std::fclose(file);
    return result;
}

}  // namespace SkinUI
