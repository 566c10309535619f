// Runs the built floppex-cli on images, tapes, programs and archives made by outside tools and
// compares what it prints with c1541's own listings.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path FromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value ? fs::path(value) : fs::path();
}

fs::path Fixtures() { return FromEnv("FLOPPEX_FIXTURES") / "cli"; }

fs::path CliPath() { return FLOPPEX_CLI_PATH; }

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct CliRun {
    int status = -1;
    std::string out, err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " not built";
        ASSERT_TRUE(fs::exists(Fixtures() / "mixed.d64")) << "fixtures missing under " << Fixtures();
        scratch_ = fs::temp_directory_path() /
                   ("cli_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_ / "tmp");
    }
    void TearDown() override { fs::remove_all(scratch_); }

    // The child gets a private TMPDIR so that anything it leaves behind can be seen.
    CliRun Cli(const std::vector<std::string>& args) {
        std::string command = "TMPDIR=" + Quote((scratch_ / "tmp").string()) + " " + Quote(CliPath().string());
        for (const std::string& arg : args) command += " " + Quote(arg);
        command += " >" + Quote((scratch_ / "out").string()) + " 2>" + Quote((scratch_ / "err").string());
        const int raw = std::system(command.c_str());
        CliRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFile(scratch_ / "out");
        run.err = ReadFile(scratch_ / "err");
        return run;
    }

    std::string Fixture(const std::string& name) { return (Fixtures() / name).string(); }
    bool TempIsEmpty() { return fs::is_empty(scratch_ / "tmp"); }

    fs::path scratch_;
};

std::string LineNamed(const std::string& listing, const std::string& quotedName) {
    std::istringstream in(listing);
    for (std::string line; std::getline(in, line);) {
        if (line.find(quotedName) != std::string::npos) return line + "\n";
    }
    return "(no line with " + quotedName + ")";
}

// ---- A strict JSON reader that flattens a document into "a.b.0.c" -> scalar text. ----

using FlatJson = std::map<std::string, std::string>;

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : s_(text) {}
    // Throws on anything that is not exactly one JSON value followed by white space.
    FlatJson Flatten() {
        Value("");
        Space();
        if (i_ != s_.size()) Fail("trailing text");
        return flat_;
    }

private:
    [[noreturn]] void Fail(const char* what) { throw std::runtime_error(std::string(what) + " at " + std::to_string(i_)); }
    void Space() { while (i_ < s_.size() && std::string(" \t\r\n").find(s_[i_]) != std::string::npos) ++i_; }
    bool Eat(char c) {
        Space();
        return i_ < s_.size() && s_[i_] == c ? (++i_, true) : false;
    }
    void Expect(char c) { if (!Eat(c)) Fail("unexpected character"); }
    std::string Key(const std::string& prefix, const std::string& key) { return prefix.empty() ? key : prefix + "." + key; }

    void Value(const std::string& at) {
        Space();
        if (Eat('{')) {
            size_t n = 0;
            if (!Eat('}')) {
                do {
                    Space();
                    const std::string key = String();
                    Expect(':');
                    Value(Key(at, key));
                    ++n;
                } while (Eat(','));
                Expect('}');
            }
            flat_[Key(at, "#")] = std::to_string(n);
        } else if (Eat('[')) {
            size_t n = 0;
            if (!Eat(']')) {
                do Value(Key(at, std::to_string(n++)));
                while (Eat(','));
                Expect(']');
            }
            flat_[Key(at, "#")] = std::to_string(n);
        } else if (i_ < s_.size() && s_[i_] == '"') {
            flat_[at] = String();
        } else {
            const size_t end = s_.find_first_of(",]} \r\n", i_);
            const std::string word = s_.substr(i_, end - i_);
            if (word != "true" && word != "false" && word != "null" &&
                word.find_first_not_of("-0123456789.eE+") != std::string::npos) {
                Fail("bad literal");
            }
            if (word.empty()) Fail("value expected");
            flat_[at] = word;
            i_ += word.size();
        }
    }
    std::string String() {
        if (s_.at(i_) != '"') Fail("string expected");
        std::string out;
        for (++i_; i_ < s_.size() && s_[i_] != '"'; ++i_) {
            if (static_cast<unsigned char>(s_[i_]) < 0x20) Fail("raw control character in string");
            if (s_[i_] != '\\') {
                out += s_[i_];
                continue;
            }
            const char e = s_.at(++i_);
            const std::string simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
            if (e == 'u') {
                out += "\\u" + s_.substr(i_ + 1, 4);
                i_ += 4;
            } else if (simple.find(e) != std::string::npos) {
                out += meaning[simple.find(e)];
            } else {
                Fail("bad escape");
            }
        }
        if (i_ >= s_.size()) Fail("unterminated string");
        ++i_;
        return out;
    }

    const std::string& s_;
    size_t i_ = 0;
    FlatJson flat_;
};

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

// ---- Tapes, written from the published T64 layout. ----

struct TapeFile {
    std::string name;
    std::string data;  // load address first
    char type = char(0x82);
};

std::string MakeT64(const std::string& tapeName, const std::vector<TapeFile>& files) {
    std::string image(64 + 32 * files.size(), '\0');
    const std::string signature = "C64S tape image file";
    image.replace(0, signature.size(), signature);
    auto put16 = [&](size_t at, unsigned v) { image[at] = char(v & 0xFF), image[at + 1] = char(v >> 8); };
    auto put32 = [&](size_t at, unsigned v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    put16(32, 0x0101);
    put16(34, static_cast<unsigned>(files.size()));
    put16(36, static_cast<unsigned>(files.size()));
    image.replace(40, 24, std::string(24, ' '));
    image.replace(40, tapeName.size(), tapeName);
    std::string data;
    for (size_t i = 0; i < files.size(); ++i) {
        const size_t at = 64 + 32 * i;
        const auto& f = files[i];
        const unsigned start = uint8_t(f.data[0]) | uint8_t(f.data[1]) << 8;
        image[at] = 1;
        image[at + 1] = f.type;
        put16(at + 2, start);
        put16(at + 4, start + static_cast<unsigned>(f.data.size()) - 2);
        put32(at + 8, static_cast<unsigned>(64 + 32 * files.size() + data.size()));
        image.replace(at + 16, 16, std::string(16, ' '));
        image.replace(at + 16, f.name.size(), f.name);
        data += f.data.substr(2);
    }
    return image + data;
}

// ---- The tests. ----

TEST_F(CliTest, DiskListingsAreByteForByteWhatC1541Prints) {
    for (const char* disk : {"mixed.d64", "empty.d64", "many.d64", "odd.d64"}) {
        const CliRun run = Cli({"list", Fixture(disk)});
        EXPECT_EQ(run.status, 0) << disk << ": " << run.err;
        EXPECT_EQ(run.out, ReadFile(Fixture(disk) + ".c1541")) << disk;
    }
    // An upper-case extension is the same type.
    fs::copy_file(Fixture("mixed.d64"), scratch_ / "MIXED.D64");
    EXPECT_EQ(Cli({"list", (scratch_ / "MIXED.D64").string()}).out, ReadFile(Fixture("mixed.d64.c1541")));
}

TEST_F(CliTest, SeveralFilesAreListedInTurnUnderTheirNames) {
    const CliRun run = Cli({"list", Fixture("mixed.d64"), Fixture("empty.d64")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "==> " + Fixture("mixed.d64") + " <==\n" + ReadFile(Fixture("mixed.d64.c1541")) + "\n==> " +
                           Fixture("empty.d64") + " <==\n" + ReadFile(Fixture("empty.d64.c1541")));
}

TEST_F(CliTest, ProgramsAndTapesAreListedInTheDiskForm) {
    const std::string c1541 = ReadFile(Fixture("mixed.d64.c1541"));

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
    std::ofstream(tape, std::ios::binary) << MakeT64("GAMES", {{"B254", ReadFile(src + "/b254.prg")},
                                                               {"A VERY LONG NAME", ReadFile(src + "/big.prg")},
                                                               {"B255", ReadFile(src + "/b255.prg"), 0}});
    const CliRun t64 = Cli({"list", tape.string()});
    EXPECT_EQ(t64.status, 0) << t64.err;
    EXPECT_EQ(t64.out, "0 \"games           \"\n" + LineNamed(c1541, "\"b254\"") +
                           LineNamed(c1541, "\"a very long name\"") + LineNamed(c1541, "\"b255\""));
}

TEST_F(CliTest, ArchivesAreListedAsTheDiskTheyHoldAndLeaveNothingBehind) {
    for (const char* archive : {"mixed.zip", "mixed.d64.gz", "mixed.lha"}) {
        const CliRun run = Cli({"list", Fixture(archive)});
        EXPECT_EQ(run.status, 0) << archive << ": " << run.err;
        EXPECT_EQ(run.out, ReadFile(Fixture("mixed.d64.c1541"))) << archive;
        EXPECT_TRUE(TempIsEmpty()) << archive;
    }
}

TEST_F(CliTest, ExitStatusSaysWhatWentWrong) {
    const fs::path garbage = scratch_ / "garbage.d64";
    std::ofstream(garbage, std::ios::binary) << std::string(1000, '\x55');
    const fs::path notes = scratch_ / "notes.txt";
    std::ofstream(notes) << "hello";
    const fs::path brokenZip = scratch_ / "broken.zip";
    std::ofstream(brokenZip, std::ios::binary) << ReadFile(Fixture("mixed.zip")).substr(0, 200);

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
    EXPECT_NE(mixed.out.find(ReadFile(Fixture("empty.d64.c1541"))), std::string::npos);

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
    const std::string image = ReadFile(Fixture("odd.d64"));
    const CliRun run = Cli({"list", "--json", Fixture("odd.d64")});
    ASSERT_EQ(run.status, 0) << run.err;
    FlatJson doc;
    ASSERT_NO_THROW(doc = JsonReader(run.out).Flatten()) << run.out;

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
    ASSERT_NO_THROW(doc = JsonReader(two.out).Flatten()) << two.out;
    EXPECT_EQ(doc["#"], "2");
    EXPECT_EQ(doc["0.entries.#"], "6");
    EXPECT_EQ(doc["0.archive"], "true");
    EXPECT_FALSE(doc["1.error"].empty());
}

TEST_F(CliTest, ExtractWritesExactlyTheOneFileInTheArchive) {
    const std::string disk = ReadFile(Fixture("mixed.d64"));
    for (const char* archive : {"mixed.zip", "mixed.d64.gz", "mixed.lha", "hello.lnx"}) {
        const fs::path out = scratch_ / (std::string("out-") + archive);
        const CliRun run = Cli({"extract", Fixture(archive), out.string()});
        ASSERT_EQ(run.status, 0) << archive << ": " << run.err;
        std::vector<fs::path> written(fs::directory_iterator(out), {});
        ASSERT_EQ(written.size(), 1u) << archive;
        EXPECT_EQ(run.out, written[0].string() + "\n");
        if (std::string(archive) == "hello.lnx") {
            EXPECT_NE(ReadFile(written[0]).find(ReadFile(Fixture("hello.prg")).substr(2)), std::string::npos);
        } else {
            EXPECT_EQ(written[0].filename(), "mixed.d64");
            EXPECT_EQ(ReadFile(written[0]), disk) << archive;
        }
    }
    const CliRun notArchive = Cli({"extract", Fixture("mixed.d64"), (scratch_ / "none").string()});
    EXPECT_EQ(notArchive.status, 1);
    EXPECT_FALSE(fs::exists(scratch_ / "none") && !fs::is_empty(scratch_ / "none"));
}

}  // namespace
