// The program's design files: --save writes what the command describes and `open` gives the same
// report; flags given to open override the file; a file that cannot be opened or saved is one
// line and status 2, and a failed save leaves the old file as it was.
#include "program_runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using program_runner::Ran;
using program_runner::RunProgram;
using program_runner::Words;

class DesignFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("orvalex-kep-files-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    static std::string Contents(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    fs::path m_folder;
};

struct Saved {
    const char* command;
    int status;
    const char* inputs; // the file's inputs member
    const char* fit;    // and its fit
};

class SavedDesign : public DesignFiles, public ::testing::WithParamInterface<Saved> {};

// The report of the command and of the file it saved are the same, byte for byte.
TEST_P(SavedDesign, OpensToTheSameReport) {
    const std::string file = Path("rail.okep");
    std::vector<std::string> args = Words(GetParam().command);
    args.insert(args.end(), {"--save", file, "--note", "5V rail", "--json"});
    const Ran saved = RunProgram(args);
    EXPECT_EQ(saved.status, GetParam().status) << saved.err;
    const Ran opened = RunProgram({"open", file, "--json"});
    EXPECT_EQ(opened.status, saved.status);
    EXPECT_EQ(opened.out, saved.out);
    EXPECT_EQ(opened.err, saved.err);

    const json document = json::parse(Contents(file));
    EXPECT_EQ(document["inputs"], json::parse(GetParam().inputs));
    EXPECT_EQ(document["fit"], json::parse(GetParam().fit));
    EXPECT_EQ(document["note"], "5V rail");
    EXPECT_EQ(document["yield_estimated"],
              std::string_view(GetParam().command).find("--yield") != std::string_view::npos);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Commands, SavedDesign,
    ::testing::Values(
        Saved{"design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30", 0,
              R"({"r2": 10000, "vref": 2.5, "vo_max": 40, "vo_min": 30})", "null"},
        Saved{"design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --vf 0.6 --series e24 --fit-pair 2", 0,
              R"({"r2": 10000, "vref": 2.5, "vo_max": 40, "vo_min": 30, "vf": 0.6})", R"({"pair": 2})"},
        Saved{"check --r1 4k7 --r2 1k --r3 2k2 --vref 1.2 --tcr 50 --fit-r1 4k75 --fit-r3 2R2", 0,
              R"({"r1": 4700, "r2": 1000, "r3": 2200, "vref": 1.2})", R"({"r1": 4750, "r3": 2.2})"},
        // The yield estimated is saved, and estimated again on opening.
        Saved{"design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --yield --boards 1000", 0,
              R"({"r2": 10000, "vref": 2.5, "vo_max": 40, "vo_min": 30})", "null"},
        // A Cal Error is saved, and opens to the same Cal Error.
        Saved{"design --r2 10000 --vref 2.5 --vo-max 40 --vo-min 2", 1,
              R"({"r2": 10000, "vref": 2.5, "vo_max": 40, "vo_min": 2})", "null"},
        Saved{"check --r1 0 --r2 10 --r3 100 --vref 1.2", 2,
              R"({"r1": 0, "r2": 10, "r3": 100, "vref": 1.2})", "null"}),
    [](const auto& info) { return "Command" + std::to_string(info.index); });
// clang-format on

// Flags after open take the place of the file's settings and fit; the rest stays the file's.
TEST_F(DesignFiles, FlagsOverrideTheFile) {
    const std::string file = Path("rail.okep");
    ASSERT_EQ(RunProgram(Words("design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --tolerance "
                               "0.5 --fit-pair 2 --save " +
                               file))
                  .status,
              0);
    struct Override {
        const char* flags;
        double tolerance;
        double spec;
        json pair; // the fitted pair's rank
        double fittedR1;
    };
    // The E96 pairs of the Calc example: 1: 64.9k/7.15k, 2: 66.5k/7.5k, 3: 63.4k/6.98k.
    const Override overrides[] = {
        {"", 0.5, 5, 2, 66500},
        {"--spec 2", 0.5, 2, 2, 66500},
        {"--tolerance 1 --fit-pair 3", 1, 5, 3, 63400},
        {"--fit-r1 64.9k --fit-r3 7.15k", 0.5, 5, nullptr, 64900},
    };
    for (const Override& o : overrides) {
        SCOPED_TRACE(o.flags);
        std::vector<std::string> args{"open", file, "--json"};
        for (const std::string& word : Words(o.flags)) {
            args.push_back(word);
        }
        const Ran ran = RunProgram(args);
        ASSERT_EQ(ran.status, 0) << ran.err;
        const json analysis = json::parse(ran.out)["analysis"];
        EXPECT_EQ(analysis["tolerance"]["resistor_pct"], o.tolerance);
        EXPECT_EQ(analysis["spec"]["pct"], o.spec);
        EXPECT_EQ(analysis["fitted"]["pair"], o.pair);
        EXPECT_EQ(analysis["fitted"]["r1"], o.fittedR1);
    }
}

// A document of a design file names the file and its note: the file saved, else the one opened.
TEST_F(DesignFiles, DocumentNamesTheFileAndItsNote) {
    const std::string file = Path("rail.okep");
    const std::string design = "design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 ";
    ASSERT_EQ(RunProgram(Words(design + "--save " + file + " --note core")).status, 0);
    const struct {
        std::vector<std::string> args;
        std::string named;
    } rows[] = {
        {{"open", file, "--format", "csv"}, "Design file,rail.okep\r\nNote,core\r\n"},
        {{"open", file, "--format", "csv", "--save", Path("copy.okep")},
         "Design file,copy.okep\r\nNote,core\r\n"},
        {{"open", file, "--format", "html"}, "<p class=\"design-file\">Design file: rail.okep</p>"},
        {Words(design + "--format csv"), "Date,"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.back());
        const Ran ran = RunProgram(row.args);
        ASSERT_EQ(ran.status, 0) << ran.err;
        EXPECT_NE(ran.out.find(row.named), std::string::npos);
        EXPECT_EQ(ran.out.find("Design file") != std::string::npos, row.args[0] == "open");
    }
}

struct Unopenable {
    const char* name;
    const char* text; // nullptr: no file
    const char* error;
};

TEST_F(DesignFiles, FileThatCannotBeOpenedIsOneLineAndStatusTwo) {
    const Unopenable files[] = {
        {"missing.okep", nullptr, "it cannot be read (No such file or directory)."},
        {"newer.okep", R"({"format": "orvalex-kep-design", "version": 3, "boards": 3})",
         "it was saved by a newer version (format 3); this one reads up to 2."},
    };
    for (const Unopenable& file : files) {
        SCOPED_TRACE(file.name);
        if (file.text) {
            Write(Path(file.name), file.text);
        }
        const Ran ran = RunProgram({"open", Path(file.name), "--json"});
        EXPECT_EQ(ran.status, 2);
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(ran.err,
                  "orvalex-kep: " + Path(file.name) + " cannot be opened: " + file.error + "\n");
    }
}

// A save that fails is one line and status 2, with no report; the file that was there stays.
TEST_F(DesignFiles, FailedSaveKeepsTheOldFile) {
    const std::string design = "design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --save ";
    const std::string old = Path("old.okep");
    Write(old, "the old design");
    fs::create_directories(Path("folder"));

    const Ran toFolder = RunProgram(Words(design + Path("folder")));
    EXPECT_EQ(toFolder.err,
              "orvalex-kep: " + Path("folder") + " cannot be saved: it is a folder\n");
    const Ran toMissing = RunProgram(Words(design + Path("missing/rail.okep")));
    EXPECT_EQ(toMissing.err, "orvalex-kep: " + Path("missing/rail.okep") +
                                 " cannot be saved: No such file or directory\n");
    // Writing fails part way: no file may grow beyond 0 blocks, for root too. The limit holds
    // for the captured stderr as well, so the program writes it into a pipe.
    const Ran tooLarge = program_runner::RunShell(
        "trap '' XFSZ; said=$( (ulimit -f 0; exec \"$KEP\" \"$@\") 2>&1 ); status=$?; "
        "printf '%s\\n' \"$said\" >&2; exit $status",
        Words(design + old));
    EXPECT_EQ(tooLarge.err, "orvalex-kep: " + old + " cannot be saved: File too large\n");
    // A parts list within the list's limit whose design would pass the design file's: 125,000
    // values of 8 bytes a line are 1,000,000 bytes, and 9 a value in the file's JSON.
    std::string parts;
    for (int value = 1'000'000; value < 1'125'000; ++value) {
        parts += std::to_string(value) + "\n";
    }
    Write(Path("parts.txt"), parts);
    const Ran pastCap =
        RunProgram(Words(design + old + " --series parts --parts " + Path("parts.txt")));
    EXPECT_EQ(pastCap.err, "orvalex-kep: " + old +
                               " cannot be saved: it would be larger than 1 MiB, which no design "
                               "file may be; shorten the parts list or the part grades\n");
    fs::remove(Path("parts.txt"));
    for (const Ran& ran : {toFolder, toMissing, tooLarge, pastCap}) {
        EXPECT_EQ(ran.status, 2);
        EXPECT_EQ(ran.out, "");
    }
    EXPECT_EQ(Contents(old), "the old design");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), {}), 2); // old.okep and folder
}

TEST_F(DesignFiles, NoteNeedsSave) {
    const Ran ran =
        RunProgram(Words("design --r2 10k --vref 2.5 --vo-max 40 --vo-min 30 --note rail"));
    EXPECT_EQ(ran.status, 2);
    EXPECT_EQ(ran.err, "orvalex-kep: --note requires --save (see --help)\n");
}

} // namespace
