// Runs the built floppex-cli on images, tapes, programs and archives made by outside tools and
// compares what it prints with c1541's own listings.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fixture_files.h"
#include "t64_tapes.h"

namespace floppex::testing {
namespace {

namespace fs = std::filesystem;

fs::path Fixtures() { return FixtureDir("cli"); }

struct CliRun {
    int status = -1;
    std::string out, err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(FLOPPEX_CLI_PATH)) << FLOPPEX_CLI_PATH << " not built";
        ASSERT_TRUE(fs::exists(Fixtures() / "mixed.d64")) << "fixtures missing under " << Fixtures();
        fs::create_directories(scratch_ / "tmp");
    }

    // The child gets a private TMPDIR so that anything it leaves behind can be seen.
    CliRun Cli(const std::vector<std::string>& args) {
        std::string command = "TMPDIR=" + ShellQuote((scratch_ / "tmp").string()) + " " + ShellQuote(FLOPPEX_CLI_PATH);
        for (const std::string& arg : args) command += " " + ShellQuote(arg);
        command += " >" + ShellQuote((scratch_ / "out").string()) + " 2>" + ShellQuote((scratch_ / "err").string());
        const int raw = std::system(command.c_str());
        CliRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadText(scratch_ / "out");
        run.err = ReadText(scratch_ / "err");
        return run;
    }

    std::string Fixture(const std::string& name) { return (Fixtures() / name).string(); }
    bool TempIsEmpty() { return fs::is_empty(scratch_ / "tmp"); }

    ScratchDir dir_{"cli"};
    const fs::path& scratch_ = dir_.Path();
};

std::string LineNamed(const std::string& listing, const std::string& quotedName) {
    std::istringstream in(listing);
    for (std::string line; std::getline(in, line);) {
        if (line.find(quotedName) != std::string::npos) return line + "\n";
    }
    return "(no line with " + quotedName + ")";
}

// A JSON document flattened by Python's json module into "a.b.0.c" -> scalar text, with
// "<path>.#" the size of each object or array; empty when it is not exactly one valid document.
using FlatJson = std::map<std::string, std::string>;

FlatJson FlattenJson(const std::string& text) {
    ScratchDir dir("json");
    std::ofstream(dir.Path() / "in", std::ios::binary) << text;
    static const char* script = R"(
import json, sys
def refuse(c): raise ValueError(c)
def walk(key, v):
    if isinstance(v, (dict, list)):
        print((key + "." if key else "") + "#\t" + str(len(v)))
        for k, x in (v.items() if isinstance(v, dict) else enumerate(v)): walk((key + "." if key else "") + str(k), x)
    else:
        print(key + "\t" + (v if isinstance(v, str) else json.dumps(v)))
walk("", json.loads(sys.stdin.buffer.read().decode("utf-8"), parse_constant=refuse))
)";
    const std::string command = "PYTHONIOENCODING=utf-8 python3 -c " + ShellQuote(script) + " <" +
                                ShellQuote((dir.Path() / "in").string()) + " >" + ShellQuote((dir.Path() / "out").string());
    if (std::system(command.c_str()) != 0) return {};
    FlatJson flat;
    std::istringstream lines(ReadText(dir.Path() / "out"));
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) flat[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return flat;
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) hex += std::string{digits[b >> 4], digits[b & 15]};
    return hex;
}

// Name bytes straight from a 1541 image: BAM at track 18 sector 0, directory from sector 1.
std::string DiskNameBytes(const std::string& image) {
    const std::string raw = image.substr(0x16500 + 0x90, 16);
    return raw.substr(0, raw.find_last_not_of('\xA0') + 1);
}
std::string EntryNameBytes(const std::string& image, int n) {
    const std::string raw = image.substr(0x16600 + 32 * n + 5, 16);
    return raw.substr(0, raw.find_last_not_of('\xA0') + 1);
}

t64::TapeFile TapeProgram(const std::string& name, const std::string& prg, uint8_t fileType = 0x82) {
    const uint16_t start = static_cast<uint16_t>(uint8_t(prg[0]) | uint8_t(prg[1]) << 8);
    t64::TapeFile file{name, start, std::vector<uint8_t>(prg.begin() + 2, prg.end())};
    file.fileType = fileType;
    return file;
}

TEST_F(CliTest, DiskListingsAreByteForByteWhatC1541Prints) {
    for (const char* disk : {"mixed.d64", "empty.d64", "many.d64", "odd.d64"}) {
        const CliRun run = Cli({"list", Fixture(disk)});
        EXPECT_EQ(run.status, 0) << disk << ": " << run.err;
        EXPECT_EQ(run.out, ReadText(Fixture(disk) + ".c1541")) << disk;
    }
    // An upper-case extension is the same type.
    fs::copy_file(Fixture("mixed.d64"), scratch_ / "MIXED.D64");
    EXPECT_EQ(Cli({"list", (scratch_ / "MIXED.D64").string()}).out, ReadText(Fixture("mixed.d64.c1541")));
}

TEST_F(CliTest, SeveralFilesAreListedInTurnUnderTheirNames) {
    const CliRun run = Cli({"list", Fixture("mixed.d64"), Fixture("empty.d64")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "==> " + Fixture("mixed.d64") + " <==\n" + ReadText(Fixture("mixed.d64.c1541")) + "\n==> " +
                           Fixture("empty.d64") + " <==\n" + ReadText(Fixture("empty.d64.c1541")));
}

TEST_F(CliTest, ProgramsAndTapesAreListedInTheDiskForm) {
    const std::string c1541 = ReadText(Fixture("mixed.d64.c1541"));

    const CliRun p00 = Cli({"list", Fixture("pc64/b255.p00")});
    EXPECT_EQ(p00.status, 0) << p00.err;
    EXPECT_EQ(p00.out, "0 \"b255            \"\n" + LineNamed(c1541, "\"b255\""));

    const CliRun prg = Cli({"list", Fixture("hello.prg")});
    EXPECT_EQ(prg.status, 0) << prg.err;
    EXPECT_EQ(prg.out, "0 \"hello           \"\n" + LineNamed(c1541, "\"hello\""));

    // Same names and sizes as on the disk, so c1541's lines for them are the expected ones. Old
    // converters left the type byte at 0: still a program.
    const std::string src = (Fixtures() / "src").string();
    const fs::path tape = scratch_ / "games.t64";
    WriteBytes(tape, t64::Tape({TapeProgram("B254", ReadText(src + "/b254.prg")),
                                TapeProgram("A VERY LONG NAME", ReadText(src + "/big.prg")),
                                TapeProgram("B255", ReadText(src + "/b255.prg"), 0)},
                               3, -1, "C64S tape image file", "GAMES"));
    const CliRun t64 = Cli({"list", tape.string()});
    EXPECT_EQ(t64.status, 0) << t64.err;
    EXPECT_EQ(t64.out, "0 \"games           \"\n" + LineNamed(c1541, "\"b254\"") +
                           LineNamed(c1541, "\"a very long name\"") + LineNamed(c1541, "\"b255\""));
}

TEST_F(CliTest, ArchivesAreListedAsTheDiskTheyHoldAndLeaveNothingBehind) {
    for (const char* archive : {"mixed.zip", "mixed.d64.gz", "mixed.lha"}) {
        const CliRun run = Cli({"list", Fixture(archive)});
        EXPECT_EQ(run.status, 0) << archive << ": " << run.err;
        EXPECT_EQ(run.out, ReadText(Fixture("mixed.d64.c1541"))) << archive;
        EXPECT_TRUE(TempIsEmpty()) << archive;
    }
}

TEST_F(CliTest, ExitStatusSaysWhatWentWrong) {
    const fs::path garbage = scratch_ / "garbage.d64";
    std::ofstream(garbage, std::ios::binary) << std::string(1000, '\x55');
    const fs::path notes = scratch_ / "notes.txt";
    std::ofstream(notes) << "hello";
    const fs::path brokenZip = scratch_ / "broken.zip";
    std::ofstream(brokenZip, std::ios::binary) << ReadText(Fixture("mixed.zip")).substr(0, 200);

    for (const fs::path& bad : {scratch_ / "missing.d64", garbage, notes, brokenZip}) {
        const CliRun run = Cli({"list", bad.string()});
        EXPECT_EQ(run.status, 1) << bad;
        EXPECT_NE(run.err.find(bad.string()), std::string::npos) << bad << " not named in: " << run.err;
        EXPECT_EQ(run.out, "") << bad;
        EXPECT_TRUE(TempIsEmpty()) << bad;
    }
    // One bad file among good ones: the good ones are still listed, the status reports the failure.
    const CliRun mixed = Cli({"list", Fixture("empty.d64"), garbage.string()});
    EXPECT_EQ(mixed.status, 1);
    EXPECT_NE(mixed.out.find(ReadText(Fixture("empty.d64.c1541"))), std::string::npos);

    for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
             {}, {"list"}, {"list", "--bogus", Fixture("empty.d64")}, {"frobnicate"},
             {"extract", Fixture("mixed.zip")}, {"extract", Fixture("mixed.zip"), "a", "b"}}) {
        const CliRun run = Cli(usage);
        EXPECT_EQ(run.status, 2) << usage.size();
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage:"), std::string::npos);
}

TEST_F(CliTest, JsonCarriesTheListingWithRawNameBytes) {
    const std::string image = ReadText(Fixture("odd.d64"));
    const CliRun run = Cli({"list", "--json", Fixture("odd.d64")});
    ASSERT_EQ(run.status, 0) << run.err;
    FlatJson doc = FlattenJson(run.out);
    ASSERT_FALSE(doc.empty()) << run.out;

    EXPECT_EQ(doc["path"], Fixture("odd.d64"));
    EXPECT_EQ(doc["name.text"], "test disk");
    EXPECT_EQ(doc["name.hex"], Hex(DiskNameBytes(image)));
    EXPECT_EQ(doc["id.text"], "fx 2a");
    EXPECT_EQ(doc["blocks_free"], "621");
    ASSERT_EQ(doc["entries.#"], "6");
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(doc["entries." + std::to_string(n) + ".name.hex"], Hex(EntryNameBytes(image, n))) << n;
    }
    EXPECT_EQ(doc["entries.2.name.text"], "b\"54");  // the quote survives escaping
    EXPECT_EQ(doc["entries.4.blocks"], "36");
    EXPECT_EQ(doc["entries.0.type"], "prg<");
    EXPECT_EQ(doc["entries.1.type"], "*seq");

    // Several files give one array; a file that cannot be read is an entry with its error.
    const CliRun two = Cli({"list", "--json", Fixture("mixed.zip"), (scratch_ / "missing.t64").string()});
    EXPECT_EQ(two.status, 1);
    doc = FlattenJson(two.out);
    ASSERT_FALSE(doc.empty()) << two.out;
    EXPECT_EQ(doc["#"], "2");
    EXPECT_EQ(doc["0.entries.#"], "6");
    EXPECT_EQ(doc["0.archive"], "true");
    EXPECT_FALSE(doc["1.error"].empty());
}

TEST_F(CliTest, ExtractWritesExactlyTheOneFileInTheArchive) {
    const std::string disk = ReadText(Fixture("mixed.d64"));
    for (const char* archive : {"mixed.zip", "mixed.d64.gz", "mixed.lha", "hello.lnx"}) {
        const fs::path out = scratch_ / (std::string("out-") + archive);
        const CliRun run = Cli({"extract", Fixture(archive), out.string()});
        ASSERT_EQ(run.status, 0) << archive << ": " << run.err;
        std::vector<fs::path> written(fs::directory_iterator(out), {});
        ASSERT_EQ(written.size(), 1u) << archive;
        EXPECT_EQ(run.out, written[0].string() + "\n");
        if (std::string(archive) == "hello.lnx") {
            EXPECT_NE(ReadText(written[0]).find(ReadText(Fixture("hello.prg")).substr(2)), std::string::npos);
        } else {
            EXPECT_EQ(written[0].filename(), "mixed.d64");
            EXPECT_EQ(ReadText(written[0]), disk) << archive;
        }
    }
    const CliRun notArchive = Cli({"extract", Fixture("mixed.d64"), (scratch_ / "none").string()});
    EXPECT_EQ(notArchive.status, 1);
    EXPECT_FALSE(fs::exists(scratch_ / "none") && !fs::is_empty(scratch_ / "none"));
}

}  // namespace
}  // namespace floppex::testing
