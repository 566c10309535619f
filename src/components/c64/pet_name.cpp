#include "c64/pet_name.h"

#include "c64/petscii.h"

namespace floppex {

PetName PetName::FromStored(std::span<const uint8_t> stored) {
    auto name = petscii::TrimPadding(stored);
    return PetName{{name.begin(), name.end()}};
}

std::string PetName::Ascii() const { return petscii::ToAscii(bytes); }

std::string PetName::Unicode() const { return petscii::ToUnicode(bytes); }

}  // namespace floppex
