#include "c64/prg_file.h"

#include "bytes/byte_order.h"
#include "c64/file_bytes.h"
#include "c64/size_text.h"

namespace floppex {

bool PrgFile::Open(const std::filesystem::path& path) {
    std::string reason;
    const auto bytes = ReadFileBytes(path, kMaxFileSize, reason);
    if (bytes) return Load(*bytes);
    *this = PrgFile();
    error_ = reason;
    return false;
}

bool PrgFile::Load(std::span<const uint8_t> bytes) {
    *this = PrgFile();
    if (bytes.size() < 2) {
        error_ = "too short for a program file: " + std::to_string(bytes.size()) + " bytes";
        return false;
    }
    if (bytes.size() > kMaxFileSize) {
        error_ = "too large for a program file: " + std::to_string(bytes.size()) + " bytes";
        return false;
    }
    size_ = bytes.size();
    loadAddress_ = Le16(bytes, 0);
    return true;
}

std::string PrgFile::SizeText() const { return KilobyteText(size_); }

std::string PrgFile::AddressText1() const { return AddressText(loadAddress_); }

std::string PrgFile::AddressText2() const { return std::to_string(loadAddress_); }

}  // namespace floppex
