#pragma once
// VICE's CRT cartridge files: a header naming the cartridge hardware, then CHIP packets, each one
// ROM, RAM or flash bank with its load address.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace floppex {

struct CartridgeChip {
    uint32_t offset = 0;        // of the packet in the file
    uint32_t packetLength = 0;  // as stored: the 16-byte packet header and the data
    uint16_t type = 0;          // 0 ROM, 1 RAM, 2 flash, 3 EEPROM
    uint16_t bank = 0;
    uint16_t loadAddress = 0;
    uint16_t size = 0;          // of the data, in bytes

    std::string TypeText() const;     // "ROM", "RAM", "FLASH", "EEPROM" or "UNK"
    std::string AddressText() const;  // "$8000"
    std::string SizeText() const;     // "$2000"
};

class CrtFile {
public:
    static constexpr size_t kMaxFileSize = 20 * 1024 * 1024;  // the largest cartridges hold 16 MiB
    static constexpr size_t kMaxChips = 4096;
    static constexpr size_t kMinHeaderLength = 0x40;

    bool Open(const std::filesystem::path& path);
    bool Load(std::span<const uint8_t> bytes);
    const std::string& Error() const { return error_; }

    std::string HeaderText1() const { return name_; }               // cartridge name, for display
    std::string HeaderText2() const;                                // hardware, "Ocean (5)"
    const std::vector<CartridgeChip>& Chips() const { return chips_; }
    // Why the packets stop before the end of the file (those before it are whole and listed), or
    // empty when the file ends right after the last packet.
    const std::string& Problem() const { return problem_; }

    const std::string& Name() const { return name_; }  // printable ASCII, others as '?'
    uint16_t HardwareType() const { return hardwareType_; }
    std::string_view HardwareName() const;  // as VICE's cartconv names it, "unknown" beyond its list
    uint16_t Version() const { return version_; }
    std::string VersionText() const;  // "1.0"
    uint8_t Revision() const { return revision_; }
    uint8_t Exrom() const { return exrom_; }  // the lines as stored: 0 pulls the line low (active)
    uint8_t Game() const { return game_; }
    std::string ModeText() const;  // "8k Game", "16k Game", "ultimax" or "off"
    uint32_t HeaderLength() const { return headerLength_; }
    size_t TotalSize() const;  // data bytes of all packets

private:
    bool Fail(std::string reason);
    void ReadChips(std::span<const uint8_t> bytes);

    std::string error_, problem_, name_;
    uint32_t headerLength_ = 0;
    uint16_t version_ = 0, hardwareType_ = 0;
    uint8_t exrom_ = 0, game_ = 0, revision_ = 0;
    std::vector<CartridgeChip> chips_;
};

}  // namespace floppex
