#include "cli/json_text.h"

namespace floppex::cli {

namespace {

// Length of the valid UTF-8 sequence at the start of s, or 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s) {
    const auto b = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
    const auto cont = [&](size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
    const uint8_t lead = b(0);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return cont(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (lead == 0xE0 && b(1) < 0xA0) return 0;   // overlong
        if (lead == 0xED && b(1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (lead == 0xF0 && b(1) < 0x90) return 0;   // overlong
        if (lead == 0xF4 && b(1) >= 0x90) return 0;  // beyond U+10FFFF
        return 4;
    }
    return 0;
}

std::string EscapeAscii(char c) {
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\b': return "\\b";
        case '\f': return "\\f";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        default: break;
    }
    const auto u = static_cast<uint8_t>(c);
    if (u >= 0x20 && u != 0x7F) return std::string(1, c);
    static constexpr char kHex[] = "0123456789abcdef";
    return std::string("\\u00") + kHex[u >> 4] + kHex[u & 0x0F];
}

std::string NameJson(const ListingName& name) {
    std::string json = "{\"text\":" + JsonString(name.text);
    if (name.petscii) json += ",\"hex\":\"" + HexBytes(*name.petscii) + "\"";
    return json + "}";
}

// The fields, each with a comma in front.
std::string FieldsJson(const ListingFields& fields) {
    std::string json;
    for (const ListingField& field : fields) {
        json += "," + JsonString(field.key) + ":";
        if (const auto* number = std::get_if<int64_t>(&field.value)) json += std::to_string(*number);
        if (const auto* text = std::get_if<std::string>(&field.value)) json += JsonString(*text);
        if (const auto* truth = std::get_if<bool>(&field.value)) json += *truth ? "true" : "false";
    }
    return json;
}

std::string EntryJson(const ListingEntry& entry) {
    return "{\"blocks\":" + std::to_string(entry.blocks) + ",\"name\":" + NameJson(entry.name) +
           ",\"type\":" + JsonString(entry.type) + FieldsJson(entry.fields) + "}";
}

// A cartridge's packets in place of the entries.
std::string ChipsJson(const std::vector<ListingFields>& chips) {
    std::string json = ",\"chips\":[";
    for (size_t i = 0; i < chips.size(); ++i) {
        std::string fields = FieldsJson(chips[i]);
        json += (i > 0 ? ",{" : "{") + fields.erase(0, 1) + "}";
    }
    return json + "]";
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t n = Utf8SequenceLength(utf8.substr(i));
        if (n == 0) {
            out += "\\ufffd";
            ++i;
        } else if (n == 1) {
            out += EscapeAscii(utf8[i++]);
        } else {
            out.append(utf8.substr(i, n));
            i += n;
        }
    }
    return out + "\"";
}

std::string HexBytes(std::span<const uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        hex += kHex[b >> 4];
        hex += kHex[b & 0x0F];
    }
    return hex;
}

std::string ListingJson(const std::string& path, const C64Listing& listing, bool fromArchive) {
    std::string json = "{\"path\":" + JsonString(path) + ",\"archive\":" + (fromArchive ? "true" : "false") +
                       ",\"format\":" + JsonString(listing.format) + ",\"name\":" + NameJson(listing.name);
    if (listing.id) json += ",\"id\":" + NameJson(*listing.id);
    json += FieldsJson(listing.fields);
    if (listing.type == FileType::Cartridge) return json + ChipsJson(listing.chips) + "}";
    json += ",\"entries\":[";
    for (size_t i = 0; i < listing.entries.size(); ++i) {
        if (i > 0) json += ",";
        json += EntryJson(listing.entries[i]);
    }
    json += "]";
    if (listing.blocksFree) json += ",\"blocks_free\":" + std::to_string(*listing.blocksFree);
    return json + "}";
}

std::string ErrorJson(const std::string& path, const std::string& error) {
    return "{\"path\":" + JsonString(path) + ",\"error\":" + JsonString(error) + "}";
}

}  // namespace floppex::cli
