// The command line that the module build runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "cli.h"
#include "rendered.h"

namespace artgen::test {
namespace {

namespace fs = std::filesystem;

struct CliResult {
    int status;
    std::string out, err;
};

CliResult artgen(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = run_cli(args, out, err);
    return {status, out.str(), err.str()};
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "artgen_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(Cli, WritesTheListedFilesWithTheDrawnBytes) {
    const CliResult list = artgen({"--list", "tankvalve"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "0100.bmp\n0200.bmp\n");

    const fs::path out = folder_ / "new" / "art";
    ASSERT_EQ(artgen({"tankvalve", out.string()}).status, 0);
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(out)) written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"0100.bmp", "0200.bmp"}));

    std::ifstream file(out / "0200.bmp", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes, rendered_module("tankvalve")[1].bytes);
}

TEST_F(Cli, BadCallsExitWithTwoAndSayWhy) {
    const CliResult unknown = artgen({"fuelgauges", folder_.string()});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("fuelgauges"), std::string::npos) << unknown.err;
    EXPECT_EQ(artgen({"--list", "fuelgauges"}).status, 2);

    const fs::path blocker = folder_ / "a_file";
    std::ofstream(blocker) << "not a folder";
    const CliResult unwritable = artgen({"lubepress", (blocker / "art").string()});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find((blocker / "art").string()), std::string::npos) << unwritable.err;

    EXPECT_EQ(artgen({}).status, 2);
    EXPECT_EQ(artgen({"lubepress"}).status, 2);

    const CliResult help = artgen({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("switchbank"), std::string::npos);
}

}  // namespace
}  // namespace artgen::test
