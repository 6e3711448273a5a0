#include "tools/vrkcheck/VrkCheck.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <system_error>

#include "platform/LocalFileSystem.h"
#include "platform/RegionalSettings.h"
#include "scenario/EditorGlobeSettings.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioLint.h"

#ifdef VRKCHECK_PNG
#include <QGuiApplication>

#include "platform/Bitmap24.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtDrawingSurface.h"
#endif

namespace vrkcheck {

const char* const kUsage = "usage: vrkcheck [--json] [--lint] [--png FILE] [--size WxH] DIR\n";

TArguments::TArguments() : Width(scenario::kEditorMapWidth), Height(scenario::kEditorMapHeight) {}

namespace {

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

#ifdef VRKCHECK_PNG
// Draws the loaded map into a PNG file; false when the file cannot be written.
bool WritePicture(scenario::TLoadCheck& check, const TArguments& arguments) {
    // A command-line check needs no display: draw off screen unless told otherwise. Fonts need
    // an application object; a program that has one already (a test) lends it.
    std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "vrkcheck";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    platform::Bitmap24 bitmap(arguments.Width, arguments.Height);
    {
        platform::QtDrawingSurface surface(bitmap);
        check.Paint(surface, arguments.Width, arguments.Height);
    }
    return platform::WritePng(bitmap, arguments.Png);
}
#endif

}  // namespace

std::optional<TArguments> ParseArguments(const std::vector<std::string>& args) {
    TArguments arguments;
    bool haveDir = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool haveValue = i + 1 < args.size();
        if (arg == "--json") {
            arguments.Json = true;
        } else if (arg == "--lint") {
            arguments.Lint = true;
        } else if (arg == "--png" && haveValue && !args[i + 1].empty()) {
            arguments.Png = args[++i];
        } else if (arg == "--size" && haveValue) {
            if (!ParseSize(args[++i], arguments.Width, arguments.Height)) return std::nullopt;
        } else if (!arg.empty() && arg[0] != '-' && !haveDir) {
            arguments.Dir = arg;
            haveDir = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveDir) return std::nullopt;
    return arguments;
}

bool CanDrawPictures() {
#ifdef VRKCHECK_PNG
    return true;
#else
    return false;
#endif
}

int Run(const std::vector<std::string>& args, const std::string& programDir, std::ostream& out,
        std::ostream& err) {
    const std::optional<TArguments> arguments = ParseArguments(args);
    if (!arguments) {
        err << kUsage;
        return 2;
    }
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::absolute(arguments->Dir, error);
    if (error || !std::filesystem::is_directory(dir, error)) {
        err << "vrkcheck: not a directory: " << arguments->Dir << "\n" << kUsage;
        return 2;
    }

    platform::LocalFileSystem files;
    scenario::TLoadCheck check(files, platform::RegionalSettings{}, programDir);
    check.Run(dir.lexically_normal().string());

    if (!arguments->Png.empty()) {
#ifdef VRKCHECK_PNG
        if (!WritePicture(check, *arguments)) {
            err << "vrkcheck: cannot write " << arguments->Png << "\n";
            return 2;
        }
#else
        err << "vrkcheck: --png: the map view's rendering is not available in this build; no picture written\n";
#endif
    }
    if (arguments->Lint) check.Lint();
    out << (arguments->Json ? check.Json() : check.Text());
    if (!arguments->Lint) return check.Messages().empty() ? 0 : 1;
    if (!arguments->Json) out << check.FindingsText();
    if (check.Kind() == scenario::TScenarioKind::skNone) return 2;
    return scenario::CountErrors(check.Findings()) > 0 ? 1 : 0;
}

}  // namespace vrkcheck
