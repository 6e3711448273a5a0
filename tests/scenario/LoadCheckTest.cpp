#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "globe/data/CustomVoduz4.h"
#include "platform/LocalFileSystem.h"
#include "scenario/JsonText.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioState.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/";

// The JSON of the fixtures and demos is compared whole with the kept output by vrkcheck's
// VrkCheckExpectedTest; these tests cover what that comparison does not show.

// A temporary program folder with its "Data" subfolder, and room for generated directories.
class LoadCheckTest : public ::testing::Test {
protected:
    LoadCheckTest() {
        root = fs::temp_directory_path() / ("vrkcheck-test-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root / "prog" / "Data");
    }
    ~LoadCheckTest() override {
        std::error_code error;
        fs::current_path(fs::temp_directory_path(), error);
        fs::remove_all(root, error);
    }
    std::string Program() const { return (root / "prog").string(); }
    void Write(const fs::path& file, const std::string& bytes) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string JsonOf(const std::string& dir, std::vector<std::string>* messages = nullptr) {
        TLoadCheck check(files, platform::RegionalSettings{}, Program());
        check.Run(dir);
        if (messages != nullptr) *messages = check.Messages();
        return check.Json();
    }

    fs::path root;
    platform::LocalFileSystem files;
};

TEST(JsonTextTest, TextsAndNumbersKeepTheOutputValid) {
    struct TCase {
        std::string Bytes, Json;
    };
    for (const TCase& c : std::vector<TCase>{
             {"a\"b\\c\rd\x01", R"("a\"b\\c\rd\u0001")"},
             {"Sch\xc3\xa4" "fer", "\"Sch\xc3\xa4" "fer\""},   // UTF-8 stays
             {"Sch\xe4" "fer", "\"Sch\xc3\xa4" "fer\""},        // a code page byte is its character
             {"\xc3", "\"\xc3\x83\""},                         // a cut sequence too
             {"\xed\xa0\x80", "\"\xc3\xad\xc2\xa0\xc2\x80\""}}) {  // a surrogate is no UTF-8
        EXPECT_EQ(JsonDump(JsonText(c.Bytes)), c.Json) << c.Json;
    }
    const TJson numbers = TJson::array({JsonNumber(30), JsonNumber(0), JsonNumber(-2), JsonNumber(15116.25),
                                        JsonNumber(0.5), JsonNumber(1.0 / 0.0), JsonNumber(0.0 / 0.0)});
    EXPECT_EQ(JsonDump(numbers), "[30,0,-2,15116.25,0.5,null,null]");
}

TEST_F(LoadCheckTest, WindowsCampaignLoadsWithoutMessages) {
    const std::string dir = kFixtures + "windows_campaign";
    TLoadCheck check(files, platform::RegionalSettings{}, Program());
    check.Run(dir);
    EXPECT_EQ(check.Messages(), std::vector<std::string>{});
    EXPECT_EQ(check.Kind(), TScenarioKind::skCampaign);
    // "maps\Small.ENV" names Maps/small.env.
    EXPECT_TRUE(check.Globe().EnvironmentFile().ends_with("Maps/small.env")) << check.Globe().EnvironmentFile();
}

TEST_F(LoadCheckTest, HostileFilesAreReportedNotFatal) {
    const fs::path dir = root / "hostile";
    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() & 0xFF);
    Write(dir / "ScenarioInfo.cfg", "StartDate=" + garbage);
    Write(dir / "AxisBases.cfg", "");
    Write(dir / "AlliedBases.cfg", "Name=" + std::string(100'000, 'x') + "\nLL=" + std::string(50'000, '9') + "\n");
    Write(dir / "AxisShips.cfg", garbage);
    Write(dir / "AlliedShips.cfg", "[TF1]\r\nNAME=" + garbage + "\r\nNUMBER=1\r\nSPEED=1\r\nMISSION=Convoy\r\nCASECOUNT=999999999\r\n");
    Write(dir / "Subs0.cfg", "Strength=1\nLL=" + garbage);
    std::vector<std::string> messages;
    const std::string json = JsonOf(dir.string(), &messages);
    EXPECT_FALSE(messages.empty());
    EXPECT_EQ(json, JsonOf(dir.string()));
    // Control bytes and bytes that are not UTF-8 are escaped.
    ASSERT_TRUE(json.ends_with("}\n"));
    for (const char c : json.substr(0, json.size() - 1)) ASSERT_GE(static_cast<unsigned char>(c), 0x20u);
    // A value is at most 200 characters.
    EXPECT_NE(json.find("\"title\":\"" + std::string(200, 'x') + "\""), std::string::npos);
    EXPECT_NE(json.find("Error reading allied bases!"), std::string::npos);
}

TEST_F(LoadCheckTest, MissingDataFolderAndUnusableDirectory) {
    fs::remove_all(root / "prog" / "Data");
    std::vector<std::string> messages;
    const std::string json = JsonOf(kFixtures + "small_scenario", &messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Data"), std::string::npos) << messages[0];
    EXPECT_NE(json.find(R"("kind":"none","caption":"Corvalis scenario editor")"), std::string::npos);

    JsonOf((root / "nothing here").string(), &messages);
    EXPECT_EQ(messages,
              std::vector<std::string>{"This directory does not appear to contain a Varnel scenario or campaign!"});
}

}  // namespace
}  // namespace scenario
