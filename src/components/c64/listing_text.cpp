#include "c64/listing_text.h"

#include <algorithm>
#include <cstdio>

#include "c64/petscii.h"

namespace floppex {
namespace {

// The header line shows name and id up to a NUL byte, with their $A0 padding as blanks.
std::string UpToNul(std::span<const uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return petscii::ToAscii(bytes.first(static_cast<size_t>(end - bytes.begin())));
}

std::string HeaderLine(const DiskImage& image) {
    return "0 \"" + UpToNul(image.StoredDiskName()) + "\" " + UpToNul(image.StoredDiskId()) + "\n";
}

// A name is always 18 characters wide: the first $A0 closes the quotes, later $A0 bytes are
// blanks, and a name without $A0 gets its closing quote after the 16th character.
std::string QuotedName(const std::array<uint8_t, 16>& stored) {
    std::string text = "\"";
    bool closed = false;
    for (uint8_t c : stored) {
        if (c == 0xa0) {
            text += closed ? ' ' : '"';
            closed = true;
        } else {
            text += petscii::ToAscii(std::span<const uint8_t>(&c, 1));
        }
    }
    text += closed ? ' ' : '"';
    return text;
}

// Five characters: '*' when not closed, the type, '<' when locked.
std::string TypeField(const DiskDirEntry& entry) {
    std::string type = entry.FileType();
    if (type.front() != '*') type.insert(type.begin(), ' ');
    if (type.back() != '<') type += ' ';
    return type;
}

std::string ChipLine(const CartridgeChip& chip) {
    char line[80];
    std::snprintf(line, sizeof line, "$%06x CHIP %-5s #%03u $%04x $%04x $%04x\n", static_cast<unsigned>(chip.offset),
                  chip.TypeText().c_str(), static_cast<unsigned>(chip.bank), static_cast<unsigned>(chip.loadAddress),
                  static_cast<unsigned>(chip.size), static_cast<unsigned>(chip.packetLength));
    return line;
}

std::string EntryLine(const DiskDirEntry& entry) {
    char blocks[16];
    std::snprintf(blocks, sizeof blocks, "%-4u ", static_cast<unsigned>(entry.blockCount));
    return blocks + QuotedName(entry.storedName) + TypeField(entry) + "\n";
}

}  // namespace

std::string C1541Listing(const DiskImage& image) {
    std::string text = HeaderLine(image);
    if (image.Entries().Count() == 0) text += "Empty image\n";
    for (const auto& entry : image.Entries()) text += EntryLine(entry);
    text += std::to_string(image.BlocksFree()) + " blocks free.\n";
    return text;
}

std::string CartconvListing(const CrtFile& cartridge) {
    std::string text = "CRT Version: " + cartridge.VersionText() + " (C64 CARTRIDGE )\nName: " + cartridge.Name() +
                       "\nHardware ID: " + std::to_string(cartridge.HardwareType()) + " (" +
                       std::string(cartridge.HardwareName()) + ")\nHardware Revision: " +
                       std::to_string(cartridge.Revision()) + "\nMode: exrom: " + std::to_string(cartridge.Exrom()) +
                       " game: " + std::to_string(cartridge.Game()) + " (" + cartridge.ModeText() +
                       ")\n\noffset  sig  type  bank start size  chunklen\n";
    for (const CartridgeChip& chip : cartridge.Chips()) text += ChipLine(chip);
    char totals[64];
    std::snprintf(totals, sizeof totals, "\ntotal banks: %zu size: $%06zx\n", cartridge.Chips().size(), cartridge.TotalSize());
    text += totals;
    if (!cartridge.Problem().empty()) text += "Error: " + cartridge.Problem() + "\n";
    return text;
}

}  // namespace floppex
