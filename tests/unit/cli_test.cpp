// Runs the built floppex-cli on images, tapes, programs and archives made by outside tools
// (tests/fixtures/images.sh) and compares what it prints with c1541's own listings.
#include <sys/wait.h>

#include <map>
#include <sstream>

#include "fixtures.h"

namespace floppex::testing {
namespace {

struct CliRun { int status = -1; std::string out, err; };

std::string Fixture(const std::string& name) { return (FixtureDir("images") / name).string(); }
std::string Listing(const std::string& name) { return ReadText(Fixture(name) + ".list"); }
std::string Line(const std::string& text, int n) {  // line n (0-based) with its line end
    std::istringstream in(text);
    std::string line;
    while (n-- >= 0) std::getline(in, line);
    return line + "\n";
}
std::string Hex(const std::string& bytes) {
    std::string hex;
    for (unsigned char b : bytes) hex += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
    return hex;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(FLOPPEX_CLI_PATH)) << FLOPPEX_CLI_PATH << " not built";
        fs::create_directories(scratch_ / "tmp");
    }
    // The child gets a private TMPDIR so that anything it leaves behind can be seen.
    CliRun Cli(const std::vector<std::string>& args) {
        std::string command = "TMPDIR=" + ShellQuote((scratch_ / "tmp").string()) + " " + ShellQuote(FLOPPEX_CLI_PATH);
        for (const std::string& arg : args) command += " " + ShellQuote(arg);
        const int raw = std::system((command + " >" + ShellQuote(Out()) + " 2>" + ShellQuote(Out() + ".err")).c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(Out()), ReadText(Out() + ".err")};
    }
    std::string Out() { return (scratch_ / "out").string(); }
    bool TempIsEmpty() { return fs::is_empty(scratch_ / "tmp"); }

    // The last run's output as one JSON document flattened by Python's json module into "a.b.0.c"
    // -> scalar text, with "<path>.#" the size of each object or array; empty when it is not valid.
    std::map<std::string, std::string> Json() {
        static const char* script = R"(
import json, sys
def refuse(c): raise ValueError(c)
def walk(key, v):
    if isinstance(v, (dict, list)):
        print((key + "." if key else "") + "#\t" + str(len(v)), end="\0")
        for k, x in (v.items() if isinstance(v, dict) else enumerate(v)): walk((key + "." if key else "") + str(k), x)
    else:
        print(key + "\t" + (v if isinstance(v, str) else json.dumps(v)), end="\0")
walk("", json.loads(sys.stdin.buffer.read().decode("utf-8"), parse_constant=refuse))
)";
        std::istringstream records(
            RunCommand("PYTHONIOENCODING=utf-8 python3 -c " + ShellQuote(script) + " <" + ShellQuote(Out()) + " || echo FAILED"));
        std::map<std::string, std::string> flat;
        for (std::string record; std::getline(records, record, '\0');) {
            if (record.find('\t') == std::string::npos) return {};
            flat[record.substr(0, record.find('\t'))] = record.substr(record.find('\t') + 1);
        }
        return flat;
    }

    ScratchDir dir_{"cli"};
    const fs::path& scratch_ = dir_.Path();
};

// list prints the listing's text, which c64_files_test holds to c1541's for every fixture image.
TEST_F(CliTest, ListingsAreByteForByteWhatC1541Prints) {
    fs::copy_file(Fixture("mixed.d64"), scratch_ / "MIXED.D64");  // an upper-case extension is the same type
    const std::string upper = (scratch_ / "MIXED.D64").string();
    const CliRun two = Cli({"list", upper, Fixture("dirloop.d81")});  // several in turn under their names
    EXPECT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(two.out, "==> " + upper + " <==\n" + Listing("mixed.d64") + "\n==> " + Fixture("dirloop.d81") + " <==\n" +
                           Listing("dirloop.d81"));
    // Archives list as the disk they hold and leave nothing behind.
    for (const char* archive : {"mixed.zip", "mixed.d64.gz", "mixed.lha"}) {
        const CliRun run = Cli({"list", Fixture(archive)});
        EXPECT_EQ(run.status, 0) << archive << ": " << run.err;
        EXPECT_EQ(run.out, Listing("mixed.d64")) << archive;
        EXPECT_TRUE(TempIsEmpty()) << archive;
    }
    // Programs and tapes in the disk form. Same names and sizes as on long.d64 (b254, long one, b255, big one), so
    // c1541's lines for them are the expected ones; the tape's third entry has the file type 0 of old converters.
    const std::string c1541 = Listing("long.d64");
    EXPECT_EQ(Cli({"list", Fixture("pc64/b255.p00")}).out, "0 \"b255            \"\n" + Line(c1541, 3));
    EXPECT_EQ(Cli({"list", Fixture("b254.prg")}).out, "0 \"b254            \"\n" + Line(c1541, 1));
    const CliRun t64 = Cli({"list", Fixture("games.t64")});
    EXPECT_EQ(t64.status, 0) << t64.err;
    EXPECT_EQ(t64.out, "0 \"games           \"\n" + Line(c1541, 1) + Line(c1541, 4) + Line(c1541, 3));
}

// Cartridges list as cartconv -f lists them; raw tapes in the disk form with each file's addresses,
// or as one entry of their size when no header decodes; in JSON with their own fields; from archives.
TEST_F(CliTest, CartridgesAndRawTapes) {
    const auto fixture = [](const std::string& name) { return (FixtureDir("crt_tap") / name).string(); };
    for (const char* crt : {"normal8.crt", "ocean.crt", "ocean.zip"})
        EXPECT_EQ(Cli({"list", fixture(crt)}).out, ReadText(fixture(crt == std::string("normal8.crt") ? crt : "ocean.crt") + ".info")) << crt;
    EXPECT_EQ(Cli({"list", fixture("worn.tap")}).out,
              "0 \"worn            \"\n1    \"basic loop\"       prg $0801-$081b\n1    \"border\"           abs $c000-$c006\n");
    Cli({"list", "--json", fixture("ocean.crt")});
    auto doc = Json();
    EXPECT_EQ(doc["format"] + doc["hardware"] + doc["chips.#"] + doc["chips.3.bank"] + doc["chips.3.offset"], "crtOcean4324688");
    Cli({"list", "--json", fixture("worn.tap"), fixture("turbo.tap"), fixture("lying.tap")});
    doc = Json();
    EXPECT_TRUE(!doc.count("0.problem") && !doc["2.problem"].empty());  // only a tape with something odd has one
    EXPECT_EQ(doc["0.format"] + doc["0.entries.1.type"] + doc["0.entries.1.start"] + doc["0.entries.1.size"] + doc["0.entries.1.data_found"],
              "tapabs491526true");
    EXPECT_EQ(doc["1.entries.#"] + doc["1.entries.0.type"] + doc["1.entries.0.size"], "1tap" + std::to_string(fs::file_size(fixture("turbo.tap"))));
}

// A name without a known extension (the stem kept: a raw tape is named by it): the signature tells
// the type, as the desktop types such a file; a D64 has none to tell.
TEST_F(CliTest, ContentTellsTheTypeOfANameWithoutAKnownExtension) {
    for (const fs::path name : {"images/mixed.g64", "images/mixed.x64", "images/games.t64", "images/hellogam.p00", "crt_tap/ocean.crt",
                                "crt_tap/worn.tap", "archives/programs.lnx", "images/mixed.d64"}) {
        const fs::path file = FixtureDir(name.parent_path().string()) / name.filename(), copy = scratch_ / name.stem();
        fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
        const CliRun run = Cli({"list", copy.string()});
        EXPECT_EQ(run.out, name.extension() == ".d64" ? "" : Cli({"list", file.string()}).out) << name << ": " << run.err;
    }
}

TEST_F(CliTest, ExitStatusSaysWhatWentWrong) {
    const fs::path garbage = scratch_ / "garbage.d64", brokenZip = scratch_ / "broken.zip";
    WriteBytes(garbage, Bytes(1000, 0x55));
    WriteBytes(brokenZip, std::span<const uint8_t>(ReadBytes(Fixture("mixed.zip"))).first(200));
    for (const fs::path& bad : {scratch_ / "missing.d64", garbage, fs::path(Fixture("mixed.d64.list")), brokenZip}) {
        const CliRun run = Cli({"list", bad.string()});
        EXPECT_EQ(run.status, 1) << bad;
        EXPECT_NE(run.err.find(bad.string()), std::string::npos) << bad << " not named in: " << run.err;
        EXPECT_EQ(run.out, "") << bad;
        EXPECT_TRUE(TempIsEmpty()) << bad;
    }
    // One bad file among good ones: the good ones are still listed, the status reports the failure.
    const CliRun mixed = Cli({"list", Fixture("empty.d64"), garbage.string()});
    EXPECT_TRUE(mixed.status == 1 && mixed.out.find(Listing("empty.d64")) != std::string::npos) << mixed.out;
    for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
             {}, {"list"}, {"list", "--bogus", Fixture("empty.d64")}, {"frobnicate"},
             {"extract", Fixture("mixed.zip")}, {"extract", Fixture("mixed.zip"), "a", "b"}}) {
        const CliRun run = Cli(usage);
        EXPECT_TRUE(run.status == 2 && run.err.find("usage:") != std::string::npos && run.out.empty()) << usage.size();
    }
    const CliRun help = Cli({"--help"});
    EXPECT_TRUE(help.status == 0 && help.out.find("usage:") != std::string::npos) << help.out;
}

// Names with NUL, control bytes, quotes, backslashes and bytes that are no text still give valid
// JSON: the name as c1541 lists it, the raw bytes (up to the first shifted space) in hex. In
// c1541's listings every byte is one character: a 27-character header line, then 29 characters
// an entry: `1    "` + name + `"` + padding, type from column 23, line end.
TEST_F(CliTest, JsonCarriesTheListingWithRawNameBytes) {
    for (const char* disk : {"types.d64", "mixed.d64", "allbytes.d64"}) {
        SCOPED_TRACE(disk);
        ASSERT_EQ(Cli({"list", "--json", Fixture(disk)}).status, 0);
        auto doc = Json();
        ASSERT_FALSE(doc.empty()) << ReadText(Out());
        const std::string listing = Listing(disk), image = ReadText(Fixture(disk)), name = image.substr(0x16590, 16);
        EXPECT_EQ(doc["path"] + doc["archive"], Fixture(disk) + "false");
        EXPECT_EQ(doc["name.hex"], Hex(name.substr(0, name.find('\xA0'))));
        EXPECT_EQ(doc["id.hex"], Hex(image.substr(0x165a2, 5)));
        EXPECT_EQ(listing.substr(3, doc["name.text"].size()), doc["name.text"]);
        const size_t count = std::stoul(doc["entries.#"]);
        for (size_t n = 0; n < count; ++n) {
            const std::string line = listing.substr(27 + 29 * n, 29), e = "entries." + std::to_string(n) + ".";
            EXPECT_EQ(doc[e + "blocks"], std::to_string(std::stoi(line))) << n;
            EXPECT_EQ(line.substr(5, doc[e + "name.text"].size() + 2), "\"" + doc[e + "name.text"] + "\"") << n;
            std::string type;
            std::istringstream(line.substr(23, 5)) >> type;
            EXPECT_EQ(doc[e + "type"], type) << n;
        }
        EXPECT_EQ(listing.substr(27 + 29 * count), doc["blocks_free"] + " blocks free.\n");
    }
    // In allbytes.d64 (the last listed) entry k is named by the bytes 16k to 16k+15.
    auto doc = Json();
    for (int k = 0; k < 16; ++k) {
        std::string bytes;
        for (int b = 16 * k; b < 16 * k + 16 && b != 0xa0; ++b) bytes += static_cast<char>(b);
        EXPECT_EQ(doc["entries." + std::to_string(k) + ".name.hex"], Hex(bytes)) << k;
    }
    // NUL bytes in names (images.sh wrote "AB\0C" over the disk name, "\0A" as the first file's).
    Cli({"list", "--json", Fixture("nulname.d64")});
    doc = Json();
    EXPECT_EQ(doc["name.hex"] + " " + doc["entries.0.name.hex"], "414200432046494c4553 0041");
    // Several files give one array; a file that cannot be read is an entry with its error.
    EXPECT_EQ(Cli({"list", "--json", Fixture("mixed.zip"), (scratch_ / "missing.t64").string()}).status, 1);
    doc = Json();
    EXPECT_EQ(doc["#"] + doc["0.entries.#"] + doc["0.archive"], "26true");
    EXPECT_FALSE(doc["1.error"].empty());
    // A path of valid UTF-8 (2, 3 and 4 bytes) and of bytes in no valid sequence, each one U+FFFD.
    const std::string valid = "\xC3\xA9\xC2\xA9\xEF\xBC\xA1\xF1\x80\x80\x80\xF0\x9F\x98\x80", fffd = "\xEF\xBF\xBD";
    fs::copy_file(Fixture("mixed.d64"), scratch_ / (valid + "\xF4\x90\x80\x80\xFF.d64"));
    Cli({"list", "--json", (scratch_ / (valid + "\xF4\x90\x80\x80\xFF.d64")).string()});
    EXPECT_EQ(Json()["path"], (scratch_ / (valid + fffd + fffd + fffd + fffd + fffd + ".d64")).string());
}

TEST_F(CliTest, ExtractWritesExactlyTheOneFileInTheArchive) {
    for (const char* archive : {"mixed.zip", "mixed.d64.gz", "mixed.lha"}) {
        const fs::path out = scratch_ / ("out-" + fs::path(archive).filename().string());
        const CliRun run = Cli({"extract", Fixture(archive), out.string()});
        ASSERT_EQ(run.status, 0) << archive << ": " << run.err;
        std::vector<fs::path> written(fs::directory_iterator(out), {});
        ASSERT_EQ(written.size(), 1u) << archive;
        EXPECT_EQ(run.out, written[0].string() + "\n");
        EXPECT_EQ(written[0].filename(), "mixed.d64");
        EXPECT_EQ(ReadBytes(written[0]), ReadBytes(Fixture("mixed.d64"))) << archive;
    }
    EXPECT_EQ(Cli({"extract", Fixture("mixed.d64"), (scratch_ / "none").string()}).status, 1);
    EXPECT_FALSE(fs::exists(scratch_ / "none") && !fs::is_empty(scratch_ / "none"));
}

// play runs the emulator (here a script that prints its arguments and exits with 7) on the chosen
// entry with VICE's arguments as the window builds them, and exits with the emulator's status.
TEST_F(CliTest, PlayPassesTheChosenEntryToTheEmulator) {
    const fs::path fake = scratch_ / "fake emulator";
    std::ofstream(fake) << "#!/bin/sh\nfor a; do printf '[%s]' \"$a\"; done\nexit 7\n";
    fs::permissions(fake, fs::perms::owner_all);
    const std::string d64 = Fixture("mixed.d64"), p00 = Fixture("hellogam.p00"), zip = Fixture("mixed.zip");
    const std::string crt = (FixtureDir("crt_tap") / "ocean.crt").string(), brokenCrt = (scratch_ / "cut.crt").string();
    std::ofstream(brokenCrt) << "C64 CARTRIDGE   ";
    struct Case { std::vector<std::string> args; int status; std::string out; };
    for (const Case& c : std::vector<Case>{
             {{d64}, 7, "[-autostart][" + d64 + ":hello]"},
             {{d64, "4", "--", "-warp", "a b"}, 7, "[-warp][a b][-autostart][" + d64 + ":notes]"},
             {{"--name", "BIG ONE", d64}, 7, "[-autostart][" + d64 + ":big one]"},  // the one entry in another case
             {{"--name", "big on", d64}, 3, ""}, {{d64, "7"}, 3, ""}, {{d64, "0"}, 2, ""}, {{d64, "2x"}, 2, ""},
             {{"--name", "hello", d64, "1"}, 2, ""}, {{Fixture("games.t64"), "3"}, 7, "[-autostart][" + Fixture("games.t64") + ":b255]"},
             {{p00, "1"}, 7, "[-autostart][" + p00 + ":hello game]"}, {{Fixture("b254.prg")}, 7, "[-autostart][" + Fixture("b254.prg") + "]"},
             {{(scratch_ / "missing.d64").string()}, 1, ""}, {{zip, "2"}, 7, "/mixed.d64:basic game]"},
             {{crt}, 7, "[-autostart][" + crt + "]"}, {{brokenCrt}, 1, ""}}) {
        std::vector<std::string> args{"play", "--emulator", fake.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << " " << c.args.back() << ": " << run.err;
        EXPECT_TRUE(c.args[0] == zip ? run.out.starts_with("[-autostart][" + (scratch_ / "tmp/").string()) && run.out.ends_with(c.out)
                                     : run.out == c.out) << run.out;
        EXPECT_TRUE(TempIsEmpty());
    }
    const CliRun none = Cli({"play", "--emulator", (scratch_ / "no such emulator").string(), d64});
    EXPECT_TRUE(none.status == 127 && none.err.find("no such emulator") != std::string::npos) << none.err;
}

// A disk of a set, beside its siblings or zipped, is listed with them (--set) and played with a flip
// list that brings the next disk on VICE's "next"; a lone disk gets neither.
TEST_F(CliTest, SetsAreListedWholeAndPlayedWithAFlipList) {
    const fs::path folder = scratch_ / "my games", fake = scratch_ / "fake", zip = scratch_ / "set.zip";
    const auto disk = [&](int n) { return (folder / ("Game (Disk " + std::to_string(n) + " of 3)[cr X].d64")).string(); };
    fs::create_directories(folder);
    for (int n : {1, 2, 3}) RunCommand("c1541 -format 'disk,ds' d64 " + ShellQuote(disk(n)) + " >/dev/null");
    fs::copy_file(disk(1), folder / "1942.d64");
    RunCommand("cd " + ShellQuote(folder.string()) + " && zip -q ../set.zip G*");
    std::ofstream(fake) << "#!/bin/sh\nfor a; do printf '[%s]' \"$a\"; done\n[ \"$1\" = -flipname ] && cat \"$2\"\nexit 7\n";
    fs::permissions(fake, fs::perms::owner_all);
    const auto listed = [&](const std::string& file) {
        std::istringstream out(Cli({"list", "--set", file}).out);
        std::string heads;
        for (std::string line; std::getline(out, line);) heads += line.starts_with("==> ") ? line.substr(4, line.size() - 8) + ";" : "";
        return heads;
    };
    EXPECT_EQ(listed(disk(3)), disk(1) + ";" + disk(2) + ";" + disk(3) + ";");
    EXPECT_EQ(listed(zip.string()), zip.string() + "|" + fs::path(disk(1)).filename().string() + ";" + zip.string() + "|" +
                                        fs::path(disk(2)).filename().string() + ";" + zip.string() + "|" + fs::path(disk(3)).filename().string() + ";");
    EXPECT_EQ(listed((folder / "1942.d64").string()), "");
    const auto played = [&](const fs::path& file) { return Cli({"play", "--emulator", fake.string(), file.string()}).out; };
    EXPECT_TRUE(played(disk(2)).ends_with("[-autostart][" + disk(2) + "]# Vice fliplist file\n\nUNIT 8\n" + disk(2) + "\n" +
                                          disk(3) + "\n" + disk(1) + "\n")) << played(disk(2));
    const std::string fromZip = played(zip), unpacked = (scratch_ / "tmp").string() + "/floppex-cli-";
    EXPECT_TRUE(fromZip.starts_with("[-flipname][" + unpacked) && fromZip.ends_with("/set-3.d64\n") &&
                fromZip.find("/set-1.d64]# Vice fliplist file\n\nUNIT 8\n" + unpacked) != std::string::npos &&
                fromZip.find("/set-1.d64\n" + unpacked) != std::string::npos) << fromZip;
    EXPECT_EQ(played(folder / "1942.d64"), "[-autostart][" + (folder / "1942.d64").string() + "]");
    EXPECT_TRUE(TempIsEmpty());
}

}  // namespace
}  // namespace floppex::testing
