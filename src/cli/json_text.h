#pragma once
// Hand-written JSON output: string escaping and the listing as a JSON object.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "listing/c64_listing.h"

namespace floppex::cli {

// A JSON string literal, quotes included. Bytes that are not valid UTF-8 become U+FFFD.
std::string JsonString(std::string_view utf8);

// Lower-case hex digits, two per byte, no separators.
std::string HexBytes(std::span<const uint8_t> bytes);

// One file's listing. path is the file as given; fromArchive says the listing is of the C64 file
// unpacked from that archive ("format" is then the unpacked file's).
std::string ListingJson(const std::string& path, const C64Listing& listing, bool fromArchive);

// A file that could not be listed, for the array printed when several files are listed.
std::string ErrorJson(const std::string& path, const std::string& error);

}  // namespace floppex::cli
