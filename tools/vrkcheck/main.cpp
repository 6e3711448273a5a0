// vrkcheck: loads a scenario or campaign directory as the editor's load command does and prints
// every message the editor would show, in order, then a summary (or, with --json, the loaded
// scenario as one JSON object). Exit status: 0 without messages, 1 with any, 2 for unusable
// arguments.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "platform/LocalFileSystem.h"
#include "platform/RegionalSettings.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioState.h"

#ifdef VRKCHECK_PNG
#include <QGuiApplication>

#include "globe/view/Voduz4.h"
#include "platform/Bitmap24.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtDrawingSurface.h"
#include "scenario/ViewMapPainter.h"
#endif

namespace {

constexpr const char* kUsage = "usage: vrkcheck [--json] [--png FILE] [--size WxH] DIR\n";

struct Arguments {
    bool json = false;
    std::string png;
    int width = 579;
    int height = 581;
    std::string dir;
};

// "WxH" with both sides from 1 to 16384.
bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos) return false;
    const auto side = [](const std::string& part) -> std::optional<int> {
        if (part.empty() || part.size() > 5 || part.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        const int value = std::stoi(part);
        if (value < 1 || value > 16384) return std::nullopt;
        return value;
    };
    const auto w = side(text.substr(0, x)), h = side(text.substr(x + 1));
    if (!w || !h) return false;
    width = *w;
    height = *h;
    return true;
}

std::optional<Arguments> ParseArguments(int argc, char** argv) {
    Arguments arguments;
    bool haveDir = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            arguments.json = true;
        } else if (arg == "--png" && i + 1 < argc) {
            arguments.png = argv[++i];
        } else if (arg == "--size" && i + 1 < argc) {
            if (!ParseSize(argv[++i], arguments.width, arguments.height)) return std::nullopt;
        } else if (!arg.empty() && arg[0] != '-' && !haveDir) {
            arguments.dir = arg;
            haveDir = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveDir) return std::nullopt;
    return arguments;
}

// The folder of this program, which plays the editor's program folder.
std::string ProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) exe = std::filesystem::absolute(argv0, error);
    return exe.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments = ParseArguments(argc, argv);
    if (!arguments) {
        std::cerr << kUsage;
        return 2;
    }
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::absolute(arguments->dir, error);
    if (error || !std::filesystem::is_directory(dir, error)) {
        std::cerr << "vrkcheck: not a directory: " << arguments->dir << "\n" << kUsage;
        return 2;
    }

    platform::LocalFileSystem files;
    scenario::TLoadCheck check(files, platform::RegionalSettings{}, ProgramFolder(argv[0]));
    check.Run(dir.lexically_normal().string());

    if (!arguments->png.empty()) {
#ifdef VRKCHECK_PNG
        // The loaded map in the view's default position, with the bases' ranges and minefields.
        // A command-line check needs no display: draw off screen unless told otherwise.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);  // fonts need the application object
        globe::TVoduz4& view = check.View();
        scenario::TScenarioState& state = check.State();
        view.SetClientSize(arguments->width, arguments->height);
        view.OnRender = [&state](globe::TVoduz4& v) { scenario::DrawBasesOnView(state.BaseList, v); };
        platform::Bitmap24 bitmap(arguments->width, arguments->height);
        {
            platform::QtDrawingSurface surface(bitmap);
            view.RedrawGlobe();
            view.Paint(surface);
        }
        view.OnRender = nullptr;
        if (!platform::WritePng(bitmap, arguments->png)) {
            std::cerr << "vrkcheck: cannot write " << arguments->png << "\n";
            return 2;
        }
#else
        std::cerr << "vrkcheck: --png: the map view's rendering is not available in this build; no picture written\n";
#endif
    }
    std::cout << (arguments->json ? check.Json() : check.Text());
    return check.Messages().empty() ? 0 : 1;
}
