#include "c64/file_bytes.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

namespace floppex {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Unbuffered: whole files go straight between the caller's buffer and the system.
File OpenFile(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
    File file(_wfopen(path.c_str(), forWriting ? L"wb" : L"rb"));
#else
    File file(std::fopen(path.c_str(), forWriting ? "wb" : "rb"));
#endif
    if (file) std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

std::optional<uintmax_t> StatedSize(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? std::nullopt : std::optional(size);
}

}  // namespace

FileReadError ReadWholeFile(const std::filesystem::path& path, size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const File file = OpenFile(path, false);
    if (!file) return FileReadError::CannotOpen;
    const std::optional<uintmax_t> stated = StatedSize(path);
    // One byte beyond the stated size (or the cap) shows a file that grew, or one over the cap,
    // without a second pass; files whose size is not known are read in steps.
    constexpr size_t kStep = 64 * 1024;
    size_t room = stated ? static_cast<size_t>(std::min<uintmax_t>(*stated, maxBytes)) + 1 : kStep;
    for (;;) {
        const size_t old = out.size();
        out.resize(old + room);
        const size_t got = std::fread(out.data() + old, 1, room, file.get());
        out.resize(old + got);
        if (out.size() > maxBytes) {
            out.clear();
            return FileReadError::TooLarge;
        }
        if (got < room) break;
        room = std::min(kStep, maxBytes + 1 - out.size());
    }
    return std::ferror(file.get()) ? FileReadError::CannotRead : FileReadError::None;
}

ByteReader BytesReader(std::span<const uint8_t> bytes) {
    return [bytes](uint64_t offset, std::span<uint8_t> out) {
        if (offset > bytes.size() || out.size() > bytes.size() - offset) return false;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
        return true;
    };
}

FilePieces::FilePieces(const std::filesystem::path& path) : file_(OpenFile(path, false).release()) {
    const auto size = StatedSize(path);
    size_ = size.value_or(0), sized_ = size.has_value();
}

FilePieces::~FilePieces() {
    if (file_) std::fclose(file_);
}

bool FilePieces::Read(uint64_t offset, std::span<uint8_t> out) const {
    if (!file_ || offset > size_ || out.size() > size_ - offset || offset > uint64_t{LONG_MAX}) return false;
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 && std::fread(out.data(), 1, out.size(), file_) == out.size();
}

std::string FileReadReason(FileReadError error, size_t maxBytes) {
    switch (error) {
        case FileReadError::None: break;
        case FileReadError::CannotOpen: return "cannot open the file";
        case FileReadError::CannotRead: return "cannot read the file";
        case FileReadError::TooLarge: return "file too large (more than " + std::to_string(maxBytes) + " bytes)";
    }
    return "";
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path, size_t maxBytes,
                                                  std::string& error) {
    std::vector<uint8_t> bytes;
    const FileReadError read = ReadWholeFile(path, maxBytes, bytes);
    if (read == FileReadError::None) return bytes;
    error = FileReadReason(read, maxBytes);
    return std::nullopt;
}

bool WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> data) {
    File file = OpenFile(path, true);
    if (!file) return false;
    const bool written = std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
    return std::fclose(file.release()) == 0 && written;
}

bool WriteThroughTemporary(const std::filesystem::path& finalPath, std::span<const uint8_t> data) {
    std::filesystem::path temp = finalPath;
    temp += ".part";
    std::error_code ec;
    if (!WriteWholeFile(temp, data)) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, finalPath, ec);
    if (ec) {  // some systems will not rename over an existing file
        std::filesystem::remove(finalPath, ec);
        std::filesystem::rename(temp, finalPath, ec);
    }
    if (ec) std::filesystem::remove(temp, ec);
    return !ec;
}

}  // namespace floppex
