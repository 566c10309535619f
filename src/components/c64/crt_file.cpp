#include "c64/crt_file.h"

#include <array>

#include "bytes/byte_order.h"
#include "c64/file_bytes.h"
#include "c64/size_text.h"

namespace floppex {
namespace {

constexpr std::string_view kSignature = "C64 CARTRIDGE   ";
constexpr size_t kLengthOffset = 0x10, kVersionOffset = 0x14, kTypeOffset = 0x16, kExromOffset = 0x18;
constexpr size_t kGameOffset = 0x19, kRevisionOffset = 0x1a, kNameOffset = 0x20, kNameSize = 32;
constexpr size_t kChipHeaderSize = 0x10;
constexpr size_t kChipLength = 4, kChipType = 8, kChipBank = 10, kChipAddress = 12, kChipSize = 14;

// The hardware types in the order of their numbers, named as cartconv of VICE 3.7 names them.
constexpr std::array<std::string_view, 79> kHardwareNames = {
    "Generic C64 Cartridge", "Action Replay V5", "KCS Power Cartridge", "The Final Cartridge III",
    "Simons' BASIC", "Ocean", "Expert Cartridge", "Fun Play", "Super Games", "Atomic Power",
    "Epyx FastLoad", "Westermann Learning", "REX Utility", "The Final Cartridge", "Magic Formel",
    "C64 Games System", "Warp Speed", "Dinamic", "Zaxxon", "Magic Desk", "Super Snapshot V5", "Comal 80",
    "Structured BASIC", "ROSS", "Dela EP64", "Dela EP7x8", "Dela EP256", "REX 256K EPROM Cart",
    "Mikro Assembler", "Final Cartridge Plus", "Action Replay MK4", "Stardos", "EasyFlash",
    "EasyFlash Xbank", "Capture", "Action Replay MK3", "Retro Replay", "MMC64", "MMC Replay", "IDE64",
    "Super Snapshot V4", "IEEE-488 Interface", "Game Killer", "Prophet64", "EXOS", "Freeze Frame",
    "Freeze Machine", "Snapshot 64", "Super Explode V5.0", "Magic Voice", "Action Replay MK2", "MACH 5",
    "Diashow-Maker", "Pagefox", "Kingsoft", "Silverrock 128KiB Cartridge", "Formel 64", "RGCD",
    "RR-Net MK3", "Easy Calc Result", "GMod2", "MAX Basic", "GMod3", "ZIPP-CODE 48", "Blackbox V8",
    "Blackbox V3", "Blackbox V4", "REX RAM-Floppy", "BIS-Plus", "SD-BOX", "MultiMAX", "Blackbox V9",
    "Lt. Kernal Host Adaptor", "RAMLink", "Drean", "IEEE Flash! 64", "HES Turtle Graphics II",
    "Freeze Frame MK2", "Partner 64"};

// The name field is ASCII, padded with NUL bytes.
std::string NameText(std::span<const uint8_t> field) {
    std::string text;
    for (uint8_t c : field) {
        if (c == 0) break;
        text += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

std::string CartridgeChip::TypeText() const {
    constexpr std::array<const char*, 4> kTypes = {"ROM", "RAM", "FLASH", "EEPROM"};
    return type < kTypes.size() ? kTypes[type] : "UNK";
}

std::string CartridgeChip::AddressText() const { return floppex::AddressText(loadAddress); }

std::string CartridgeChip::SizeText() const { return HexText(size, 4); }

bool CrtFile::Fail(std::string reason) {
    *this = CrtFile();
    error_ = std::move(reason);
    return false;
}

bool CrtFile::Open(const std::filesystem::path& path) {
    std::string reason;
    const auto bytes = ReadFileBytes(path, kMaxFileSize, reason);
    return bytes ? Load(*bytes) : Fail(reason);
}

bool CrtFile::Load(std::span<const uint8_t> bytes) {
    *this = CrtFile();
    if (bytes.size() > kMaxFileSize) return Fail("too large for a cartridge: " + std::to_string(bytes.size()) + " bytes");
    if (bytes.size() < kMinHeaderLength) return Fail("too short for a cartridge: " + std::to_string(bytes.size()) + " bytes");
    if (!std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) {
        return Fail("not a C64 cartridge: no \"C64 CARTRIDGE\" signature");
    }
    headerLength_ = Be32(bytes, kLengthOffset);
    if (headerLength_ < kMinHeaderLength) return Fail("header length " + std::to_string(headerLength_) + " is below 64");
    if (headerLength_ > bytes.size()) return Fail("header length " + std::to_string(headerLength_) + " beyond the end of the file");
    version_ = Be16(bytes, kVersionOffset);
    hardwareType_ = Be16(bytes, kTypeOffset);
    exrom_ = bytes[kExromOffset];
    game_ = bytes[kGameOffset];
    revision_ = bytes[kRevisionOffset];
    name_ = NameText(bytes.subspan(kNameOffset, kNameSize));
    ReadChips(bytes);
    return true;
}

// Packets follow each other to the end of the file. The first one that is cut short, too short
// for its own header or data, or not a packet at all ends the list, and problem_ says why.
void CrtFile::ReadChips(std::span<const uint8_t> bytes) {
    size_t at = headerLength_;
    while (at < bytes.size()) {
        const std::string where = "at " + HexText(static_cast<uint32_t>(at), 6) + ": ";
        if (chips_.size() == kMaxChips) {
            problem_ = where + "more than " + std::to_string(kMaxChips) + " CHIP packets, the rest not listed";
            return;
        }
        const auto rest = bytes.subspan(at);
        if (rest.size() < kChipHeaderSize || !std::equal(rest.begin(), rest.begin() + 4, "CHIP")) {
            problem_ = where + "no CHIP packet";
            return;
        }
        CartridgeChip chip{static_cast<uint32_t>(at), Be32(rest, kChipLength), Be16(rest, kChipType),
                           Be16(rest, kChipBank), Be16(rest, kChipAddress), Be16(rest, kChipSize)};
        if (chip.packetLength < kChipHeaderSize + chip.size) {
            problem_ = where + "packet length " + std::to_string(chip.packetLength) + " too short for its header and " +
                       std::to_string(chip.size) + " bytes of data";
            return;
        }
        if (chip.packetLength > rest.size()) {
            problem_ = where + "packet of " + std::to_string(chip.packetLength) + " bytes runs past the end of the file";
            return;
        }
        chips_.push_back(chip);
        at += chip.packetLength;
    }
    if (chips_.empty()) problem_ = "no CHIP packets";
}

std::string CrtFile::HeaderText2() const {
    return std::string(HardwareName()) + " (" + std::to_string(hardwareType_) + ")";
}

std::string_view CrtFile::HardwareName() const {
    return hardwareType_ < kHardwareNames.size() ? kHardwareNames[hardwareType_] : "unknown";
}

std::string CrtFile::VersionText() const {
    return std::to_string(version_ >> 8) + "." + std::to_string(version_ & 0xff);
}

std::string CrtFile::ModeText() const {
    if (exrom_ == 0) return game_ == 0 ? "16k Game" : "8k Game";
    return game_ == 0 ? "ultimax" : "off";
}

size_t CrtFile::TotalSize() const {
    size_t total = 0;
    for (const CartridgeChip& chip : chips_) total += chip.size;
    return total;
}

}  // namespace floppex
