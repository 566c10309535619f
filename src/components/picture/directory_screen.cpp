#include "picture/directory_screen.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "c64/petscii.h"

namespace floppex::picture {

namespace {

constexpr uint8_t kQuote = 0x22;
constexpr uint8_t kBlank = 0x20;
constexpr uint8_t kShiftedBlank = 0xa0;
constexpr size_t kNameWidth = 16;

// Rows written the way the C64 prints: byte by byte, what passes the 40th column cut off.
class Screen {
public:
    void Byte(uint8_t petscii, bool reverse = false) {
        if (column_ < kColumns) row_[column_++] = static_cast<uint8_t>(petscii::ScreenCode(petscii) | (reverse ? 0x80 : 0));
    }
    void Bytes(std::span<const uint8_t> petscii, bool reverse = false) {
        for (uint8_t b : petscii) Byte(b, reverse);
    }
    void Text(std::string_view ascii, bool reverse = false) { Bytes(petscii::FromAscii(ascii), reverse); }
    void EndRow() {
        rows_.push_back(row_);
        row_.fill(kBlank);
        column_ = 0;
    }
    std::vector<ScreenRow> Take() { return std::move(rows_); }

private:
    std::vector<ScreenRow> rows_;
    ScreenRow row_ = Blank();
    int column_ = 0;

    static ScreenRow Blank() {
        ScreenRow row;
        row.fill(kBlank);
        return row;
    }
};

// A name's 16 bytes as the 1541 sends them: as stored, else the name padded with blanks; the
// drive turns every $A0 into a blank.
std::vector<uint8_t> NameField(const ListingName& name) {
    std::vector<uint8_t> field = name.stored;
    if (field.empty()) field = name.petscii ? *name.petscii : petscii::FromAscii(name.text);
    field.resize(std::max(field.size(), kNameWidth), kShiftedBlank);
    field.resize(kNameWidth);
    return field;
}

// "0 " and, in reverse, the quoted name padded to 16, then the id and DOS type (a disk) or the
// file's format ("T64").
void HeaderRow(Screen& screen, const C64Listing& listing) {
    screen.Text("0 ");
    screen.Byte(kQuote, true);
    for (uint8_t b : NameField(listing.name)) screen.Byte(b == kShiftedBlank ? kBlank : b, true);
    screen.Byte(kQuote, true);
    screen.Byte(kBlank, true);
    if (listing.id) {
        std::vector<uint8_t> id = listing.id->stored.empty() ? listing.id->petscii.value_or(std::vector<uint8_t>{})
                                                             : listing.id->stored;
        for (uint8_t b : id) screen.Byte(b == kShiftedBlank ? kBlank : b, true);
    } else {
        std::string format(listing.format);
        screen.Text(format, true);
    }
    screen.EndRow();
}

// The line number LIST prints, its blank, and the drive's blanks that line the quotes up.
void LineNumber(Screen& screen, int number) {
    screen.Text(std::to_string(number) + " ");
    if (number < 10) screen.Byte(kBlank);
    if (number < 100) screen.Byte(kBlank);
    screen.Byte(kBlank);
}

// The name in quotes: the first $A0 becomes the closing quote, the rest of the 16 bytes follow it
// (a name without $A0 is closed after them); then the splat, the type and the lock.
void EntryRow(Screen& screen, const ListingEntry& entry) {
    LineNumber(screen, entry.blocks);
    screen.Byte(kQuote);
    std::vector<uint8_t> field = NameField(entry.name);
    const auto end = static_cast<size_t>(std::find(field.begin(), field.end(), kShiftedBlank) - field.begin());
    std::replace(field.begin(), field.end(), kShiftedBlank, kBlank);
    field.push_back(kBlank);
    field[end] = kQuote;
    screen.Bytes(field);
    std::string_view type = entry.type;
    const bool splat = !type.empty() && type.front() == '*';
    const bool locked = !type.empty() && type.back() == '<';
    if (splat) type.remove_prefix(1);
    if (locked) type.remove_suffix(1);
    screen.Text(std::string(splat ? "*" : " ") + std::string(type) + (locked ? "<" : " "));
    screen.EndRow();
}

const ListingField* FieldOf(const ListingFields& fields, std::string_view key) {
    for (const ListingField& field : fields) {
        if (field.key == key) return &field;
    }
    return nullptr;
}

std::string TextOf(const ListingFields& fields, std::string_view key) {
    const ListingField* field = FieldOf(fields, key);
    const std::string* text = field ? std::get_if<std::string>(&field->value) : nullptr;
    return text ? *text : "";
}

std::string HexOf(const ListingFields& fields, std::string_view key) {
    const ListingField* field = FieldOf(fields, key);
    const int64_t* number = field ? std::get_if<int64_t>(&field->value) : nullptr;
    char text[16];
    std::snprintf(text, sizeof text, "$%04X", static_cast<unsigned>(number ? *number & 0xffff : 0));
    return text;
}

// A chip's row: its bank where a disk has blocks, then load address, size and kind.
void ChipRow(Screen& screen, const ListingFields& chip) {
    const ListingField* bank = FieldOf(chip, "bank");
    const int64_t* number = bank ? std::get_if<int64_t>(&bank->value) : nullptr;
    LineNumber(screen, number ? static_cast<int>(*number) : 0);
    screen.Text(HexOf(chip, "load_address") + " " + HexOf(chip, "size") + " " + TextOf(chip, "type"));
    screen.EndRow();
}

}  // namespace

std::vector<ScreenRow> DirectoryScreen(const C64Listing& listing) {
    Screen screen;
    HeaderRow(screen, listing);
    const bool cartridge = listing.entries.empty() && !listing.chips.empty();
    const size_t items = cartridge ? listing.chips.size() : listing.entries.size();
    const size_t fixed = 1 + (listing.blocksFree ? 1 : 0) + (cartridge ? 2 : 0);
    const size_t room = kMaxRows - fixed;
    const size_t shown = items <= room ? items : room - 1;
    if (cartridge) {
        screen.Text(TextOf(listing.fields, "hardware"));
        screen.EndRow();
        screen.Text(TextOf(listing.fields, "mode"));
        screen.EndRow();
    }
    for (size_t i = 0; i < shown; ++i) {
        if (cartridge) {
            ChipRow(screen, listing.chips[i]);
        } else {
            EntryRow(screen, listing.entries[i]);
        }
    }
    if (listing.blocksFree) {
        screen.Text(std::to_string(*listing.blocksFree) + " BLOCKS FREE.");
        screen.EndRow();
    }
    if (shown < items) {
        screen.Text(std::to_string(items - shown) + " MORE ENTRIES NOT SHOWN.");
        screen.EndRow();
    }
    return screen.Take();
}

}  // namespace floppex::picture
