#pragma once
// Plain C64 program files: a two-byte load address, then the program.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace floppex {

class PrgFile {
public:
    static constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

    bool Open(const std::filesystem::path& path);
    bool Load(std::span<const uint8_t> bytes);
    const std::string& Error() const { return error_; }

    std::string SizeText() const;      // size of the whole file in kilobytes, "1.2"
    std::string AddressText1() const;  // load address in hex, "$0801"
    std::string AddressText2() const;  // load address in decimal, "2049"
    size_t Size() const { return size_; }
    uint16_t LoadAddress() const { return loadAddress_; }

private:
    std::string error_;
    size_t size_ = 0;
    uint16_t loadAddress_ = 0;
};

}  // namespace floppex
