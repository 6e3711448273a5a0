// vrkcheck --png: the editor's map right after the load, with the editor's start settings. The
// fixture's environment has no surface colour and one land layer; its one base a strike range.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <sstream>
#include <string>

#include "globe/data/GeoMath.h"
#include "globe/view/Voduz4.h"
#include "scenario/EditorGlobeSettings.h"
#include "tests/globe_data/TempFile.h"
#include "tools/vrkcheck/VrkCheck.h"

namespace vrkcheck {
namespace {

namespace fs = std::filesystem;

const QColor kSea(0xC8, 0xEE, 0xF9);       // the editor's surface colour
const QColor kLand(0xE8, 0xE0, 0xB8);      // the fixture's land brush
const QColor kSilver(0xC0, 0xC0, 0xC0);    // graticule
const QColor kGrey(0x80, 0x80, 0x80);      // strike range circles
const std::string kScenario = std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/sahara_picture";

class VrkCheckPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CanDrawPictures()) GTEST_SKIP() << "no pictures in this build";
    }
    ~VrkCheckPictureTest() override { fs::current_path(startDir); }  // the load moves into the Data folder
    QImage Picture(std::vector<std::string> args, const std::string& png = {}) {
        const std::string file = png.empty() ? dir.File("map.png") : png;
        args.insert(args.begin(), {"--png", file});
        args.push_back(kScenario);
        std::ostringstream out, err;
        const int status = vrkcheck::Run(args, std::string(CORVALIS_SOURCE_DIR) + "/data", out, err);
        EXPECT_EQ(err.str(), "");
        EXPECT_NE(status, 2);
        return QImage(QString::fromStdString(png.empty() ? file : (dir.Path / png).string()));
    }
    static QPoint PixelOf(long double lat, long double lon) {
        globe::TVoduz4 view;
        scenario::ApplyGlobeStartSettings(view);
        platform::TPoint xy;
        EXPECT_TRUE(view.Projection().LLToDeviceXY(globe::RoundToInt(lon * 5'400'000),
                                                   globe::RoundToInt(lat * 5'400'000), xy));
        return QPoint(xy.X, xy.Y);
    }
    static int Count(const QImage& image, const QColor& colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
        return count;
    }

    fs::path startDir = fs::current_path();
    globe::testing::TempDir dir;
};

// On the editor's 579 x 581 map; other sizes keep the middle of the map in the middle.
TEST_F(VrkCheckPictureTest, DrawnWithTheEditorsStartSettings) {
    const QImage image = Picture({});
    ASSERT_EQ(image.size(), QSize(579, 581));
    // The middle is the Sahara (south-west Libya); the top right corner the Gulf of Sirte.
    EXPECT_EQ(image.pixelColor(289, 290), kLand);
    const QPoint sirte = PixelOf(31.0L, 19.0L);
    ASSERT_TRUE(image.rect().contains(sirte));
    EXPECT_EQ(image.pixelColor(sirte), kSea);
    // Zoomed in so far that the disc fills the window: no background anywhere.
    EXPECT_EQ(Count(image, QColor(0, 0, 0)), 0);
    // The 15 E meridian and the 30 N parallel cross the window, drawn over the land.
    EXPECT_GT(Count(image, kSilver), 1000);
    // Tripoli's 300-mile strike range reaches into the window from the north.
    EXPECT_GT(Count(image, kGrey), 100);
    const QImage small = Picture({"--size", "300x200"});
    ASSERT_EQ(small.size(), QSize(300, 200));
    EXPECT_EQ(small.pixelColor(150, 100), kLand);
}

// The load moves into the scenario's folder; the picture's name is still read where the user stands.
TEST_F(VrkCheckPictureTest, ARelativeFileIsWrittenInTheCurrentDirectory) {
    fs::current_path(dir.Path);
    EXPECT_EQ(Picture({}, "relative.png").size(), QSize(579, 581));
    EXPECT_FALSE(fs::remove(fs::path(kScenario) / "relative.png"));
}

}  // namespace
}  // namespace vrkcheck
