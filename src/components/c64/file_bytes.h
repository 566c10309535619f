#pragma once
// Files in and out of memory: whole, with a size cap, or read piece by piece.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace floppex {

enum class FileReadError { None, CannotOpen, CannotRead, TooLarge };

// Reads the file whole into out, sized once from the file's own size. More than maxBytes bytes
// is TooLarge, however large the file says it is.
FileReadError ReadWholeFile(const std::filesystem::path& path, size_t maxBytes, std::vector<uint8_t>& out);

// What went wrong, as the readers say it.
std::string FileReadReason(FileReadError error, size_t maxBytes);

// The same with the reason as text: nothing, with error set, when the file cannot be read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path, size_t maxBytes,
                                                  std::string& error);

// Reads out.size() bytes at offset of a file, all of them or false.
using ByteReader = std::function<bool(uint64_t offset, std::span<uint8_t> out)>;

// A reader of bytes in memory, which must outlive it.
ByteReader BytesReader(std::span<const uint8_t> bytes);

// A file read piece by piece, for formats of which a listing needs only a few parts.
class FilePieces {
public:
    explicit FilePieces(const std::filesystem::path& path);
    ~FilePieces();
    FilePieces(const FilePieces&) = delete;
    FilePieces& operator=(const FilePieces&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    uint64_t Size() const { return size_; }
    bool Sized() const { return sized_; }  // the system told the size
    // The bytes at offset, all of them or false.
    bool Read(uint64_t offset, std::span<uint8_t> out) const;

private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
    bool sized_ = false;  // the system told the size
};

// Creates or replaces the file with data; false when it cannot be written whole.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> data);

// The same written beside it first (path + ".part") and renamed, so that path never holds half a
// file; nothing is left behind when it fails.
bool WriteThroughTemporary(const std::filesystem::path& path, std::span<const uint8_t> data);

}  // namespace floppex
