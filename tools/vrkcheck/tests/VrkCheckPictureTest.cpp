// vrkcheck --png: the picture is the editor's map right after the load, drawn with the editor's
// start settings. The fixture's environment names no surface colour of its own and one land layer
// (the program's 10m land); its one base has a strike range circle.

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

class VrkCheckPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CanDrawPictures()) GTEST_SKIP() << "no pictures in this build";
    }
    ~VrkCheckPictureTest() override { fs::current_path(startDir); }  // the load moves into the Data folder
    QImage Picture(std::vector<std::string> args) {
        const std::string png = dir.File("map.png");
        args.insert(args.begin(), {"--png", png});
        args.push_back(std::string(CORVALIS_TEST_DATA_DIR) + "/scenarios/sahara_picture");
        std::ostringstream out, err;
        const int status = vrkcheck::Run(args, std::string(CORVALIS_SOURCE_DIR) + "/data", out, err);
        EXPECT_EQ(err.str(), "");
        EXPECT_NE(status, 2);
        return QImage(QString::fromStdString(png));
    }
    // The pixel of a geographic point (degrees) in a view with the editor's start settings.
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

// The start settings look at 23.97 N, 13.80 E from an altitude of 115,911 (about 39 pixels a
// degree) on the editor's 579 x 581 map.
TEST_F(VrkCheckPictureTest, DrawnWithTheEditorsStartSettings) {
    globe::TVoduz4 view;
    scenario::ApplyGlobeStartSettings(view);
    EXPECT_NEAR(static_cast<double>(view.Projection().CenterLatitude()), 23.9708, 1e-3);
    EXPECT_NEAR(static_cast<double>(view.Projection().CenterLongitude()), 13.8001, 1e-3);
    EXPECT_EQ(view.Projection().Altitude(), 115911);
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
    const QPoint meridian = PixelOf(24.0L, 15.0L);
    bool silverOnLand = false;
    for (int dx = -1; dx <= 1; ++dx) silverOnLand |= image.pixelColor(meridian.x() + dx, meridian.y()) == kSilver;
    EXPECT_TRUE(silverOnLand);
    // Tripoli's 300-mile strike range reaches into the window from the north.
    EXPECT_GT(Count(image, kGrey), 100);
}

TEST_F(VrkCheckPictureTest, OtherSizesFollowTheResizingRules) {
    const QImage image = Picture({"--size", "300x200"});
    ASSERT_EQ(image.size(), QSize(300, 200));
    EXPECT_EQ(image.pixelColor(150, 100), kLand);  // the middle of the map stays in the middle
}

}  // namespace
}  // namespace vrkcheck
