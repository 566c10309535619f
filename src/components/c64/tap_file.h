#pragma once
// Raw tapes (.TAP): the lengths of the pulses a datasette read, from which the files the KERNAL's
// own tape routines wrote are decoded. Turbo loaders' files are not decoded; a tape with none of
// the KERNAL's is listed as one row, its name and size.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "c64/pet_name.h"

namespace floppex {

// A file header block found on the tape.
struct TapeProgram {
    PetName name;
    uint8_t type = 0;  // 1 relocatable (BASIC) program, 3 program at its own address, 4 data file
    uint16_t startAddress = 0, endAddress = 0;  // end: one past the last byte
    size_t offset = 0;       // in the file, of the pilot in front of the header
    bool dataFound = false;  // the program's data block followed with a good checksum

    const PetName& Name() const { return name; }
    size_t DataSize() const { return static_cast<uint16_t>(endAddress - startAddress); }
    std::string TypeText() const;  // "prg" (relocatable), "abs" (at its own address), "seq" (data)
};

class TapFile {
public:
    static constexpr size_t kMaxFileSize = 64 * 1024 * 1024;  // over two hours of the longest tape
    static constexpr size_t kMaxPrograms = 1000;
    static constexpr size_t kHeaderSize = 20;

    // Refuses a file over kMaxFileSize by its size, before reading it.
    bool Open(const std::filesystem::path& path);
    // tapeName: how to call the whole tape (the file's name without its extension).
    bool Load(std::span<const uint8_t> bytes, std::string tapeName = {});
    const std::string& Error() const { return error_; }

    std::string HeaderText1() const { return tapeName_; }  // the tape's name, for display
    std::string HeaderText2() const;                       // "C64-TAPE-RAW version 1"
    // Headers of programs and data files in tape order; empty when none decoded: the tape is then
    // listed as one row of TapeName() and FileSize().
    const std::vector<TapeProgram>& Programs() const { return programs_; }
    // What is odd about the file though it could be read (a length field that disagrees with the
    // file, a version whose pulses are not decoded), or empty.
    const std::string& Problem() const { return problem_; }

    const std::string& TapeName() const { return tapeName_; }
    uint8_t Version() const { return version_; }
    size_t FileSize() const { return fileSize_; }
    uint32_t StatedLength() const { return statedLength_; }  // the header's length of the pulse data

private:
    bool Fail(std::string reason);
    void Decode(std::span<const uint8_t> pulses);
    void AddBlock(const std::vector<uint8_t>& payload, size_t offset);

    std::string error_, problem_, tapeName_;
    uint8_t version_ = 0;
    size_t fileSize_ = 0;
    uint32_t statedLength_ = 0;
    std::vector<TapeProgram> programs_;
    size_t awaitingData_ = SIZE_MAX;  // the program whose data block comes next
};

}  // namespace floppex
