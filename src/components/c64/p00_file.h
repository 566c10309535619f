#pragma once
// PC64 files (.P00 to .P09): "C64File" header, the C64 name, then the program.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "c64/pet_name.h"

namespace floppex {

class P00File {
public:
    static constexpr size_t kHeaderSize = 26;  // signature, name, name end, record size
    static constexpr size_t kMaxFileSize = kHeaderSize + 16 * 1024 * 1024;

    bool Open(const std::filesystem::path& path);
    bool Load(std::span<const uint8_t> bytes);
    const std::string& Error() const { return error_; }

    const PetName& Name() const { return name_; }
    std::string SizeText() const;  // size of the program (load address and data) in kilobytes
    size_t DataSize() const { return dataSize_; }  // load address and data
    uint16_t LoadAddress() const { return loadAddress_; }

private:
    bool Fail(std::string reason);

    std::string error_;
    PetName name_;
    size_t dataSize_ = 0;
    uint16_t loadAddress_ = 0;
};

}  // namespace floppex
