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
#include "scenario/ScenarioState.h"
#include "scenario/TimelineText.h"
#include "tools/common/PictureSize.h"
#include "tools/common/ToolCommandLine.h"

#ifdef VRKCHECK_PNG
#include <QGuiApplication>

#include "platform/Bitmap24.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtDrawingSurface.h"
#endif

namespace vrkcheck {

TArguments::TArguments() : Width(scenario::kEditorMapWidth), Height(scenario::kEditorMapHeight) {}

namespace {

constexpr int kMaxSide = 16384;

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
        surface.SetAntialiased(arguments.Antialias);
        check.Paint(surface, arguments.Width, arguments.Height);
    }
    return platform::WritePng(bitmap, arguments.Png);
}
#endif

// The dry run's events (--timeline) and the positions at a time (--at).
int WriteDryRun(scenario::TLoadCheck& check, const TArguments& arguments, std::ostream& out) {
    const scenario::TScenarioState& state = check.State();
    if (arguments.Timeline) {
        const std::vector<scenario::TTimelineEvent> events = scenario::ScenarioTimeline(state, check.Globe());
        if (arguments.Json) {
            out << scenario::JsonDump(scenario::TimelineJson(events, state.StartTime)) << "\n";
        } else {
            for (const scenario::TTimelineEvent& event : events) out << scenario::TimelineEventLine(event, state.StartTime);
        }
    }
    if (!arguments.At.empty()) {
        // A time the scenario's calendar cannot reach lists nothing.
        if (const auto minute = scenario::MinuteOfTimeGroup(state.StartTime, arguments.At))
            out << scenario::PositionsText(scenario::ScenarioVoyages(state), state.StartTime, *minute);
    }
    return check.Kind() == scenario::TScenarioKind::skNone ? 2 : 0;
}

}  // namespace

std::optional<int> ParseArguments(const std::vector<std::string>& args, TArguments& arguments, std::ostream& out,
                                  std::ostream& err) {
    CLI::App app("Loads a scenario or campaign directory as the editor's load command does and prints every "
                 "message the editor would show, then a summary.",
                 "vrkcheck");
    toolcli::ConfigureToolApp(app);
    app.footer("The program's folder (or ../share/corvalis beside it) plays the editor's program folder: its "
               "Data subfolder holds the map data.\n"
               "Exit status: 0 no message shown, 1 messages shown, 2 unusable arguments or a picture that "
               "cannot be written. With --lint: 0 no error found, 1 errors found, 2 no scenario or campaign in DIR. "
               "With --timeline or --at: 0, or 2 no scenario or campaign in DIR.");
    app.add_option("DIR", arguments.Dir, "The scenario or campaign directory")
        ->required()
        ->check(CLI::ExistingDirectory.description(""))
        ->type_name("DIR");
    app.add_flag("--json", arguments.Json, "Print the loaded scenario as one JSON object (docs/VRKCHECK.md)");
    app.add_flag("--lint", arguments.Lint,
                 "Also run the scenario checks and print their findings as FILE:LINE: severity: message [code]");
    CLI::Option* timeline = app.add_flag(
        "--timeline", arguments.Timeline,
        "Print the dry run instead: every case of every force sailed on the scenario clock, one line an event "
        "(with --json one object, docs/VRKCHECK.md)");
    app.add_option("--at", arguments.At,
                   "Print every force's position, heading and daylight at this time of the scenario instead "
                   "(day of the month, hour, minute)")
        ->check([](const std::string& text) {
            return scenario::MinuteOfTimeGroup(0, text)
                       ? std::string()
                       : "bad time \"" + text + "\": expected DDHHMM (day of the month, hour, minute)";
        })
        ->type_name("DDHHMM");
    timeline->excludes(app.get_option("--lint"));
    app.get_option("--at")->excludes(app.get_option("--json"))->excludes(app.get_option("--lint"));
    app.add_option("--png", arguments.Png, "Also draw the map as the editor shows it after the load into this PNG file")
        ->check([](const std::string& name) { return name.empty() ? std::string("a file name is needed") : ""; })
        ->type_name("FILE");
    app.add_flag("--antialias", arguments.Antialias, "Draw the --png picture with smooth lines, polygons, circles and text");
    std::string size;
    app.add_option("--size", size, "Size of the --png picture in pixels, 1 to 16384 each (default: the editor's map "
                                   "area, " + std::to_string(scenario::kEditorMapWidth) + "x" +
                                   std::to_string(scenario::kEditorMapHeight) + ")")
        ->check(toolcli::PictureSizeCheck(kMaxSide))
        ->type_name("WxH");
    if (auto status = toolcli::ParseToolArguments(app, args, out, err)) return status;
    if (const auto parsed = toolcli::ParsePictureSize(size, kMaxSide)) {
        arguments.Width = parsed->Width;
        arguments.Height = parsed->Height;
    }
    return std::nullopt;
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
    TArguments arguments;
    if (auto status = ParseArguments(args, arguments, out, err)) return *status;
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::absolute(arguments.Dir, error);
    if (error || !std::filesystem::is_directory(dir, error)) {
        err << "vrkcheck: not a directory: " << arguments.Dir << "\n";
        return toolcli::kBadArguments;
    }

    platform::LocalFileSystem files;
    scenario::TLoadCheck check(files, platform::RegionalSettings{}, programDir);
    check.Run(dir.lexically_normal().string());

    if (!arguments.Png.empty()) {
#ifdef VRKCHECK_PNG
        if (!WritePicture(check, arguments)) {
            err << "vrkcheck: cannot write " << arguments.Png << "\n";
            return 2;
        }
#else
        err << "vrkcheck: --png: the map view's rendering is not available in this build; no picture written\n";
#endif
    }
    if (arguments.Timeline || !arguments.At.empty()) return WriteDryRun(check, arguments, out);
    if (arguments.Lint) check.Lint();
    out << (arguments.Json ? check.Json() : check.Text());
    if (!arguments.Lint) return check.Messages().empty() ? 0 : 1;
    if (!arguments.Json) out << check.FindingsText();
    if (check.Kind() == scenario::TScenarioKind::skNone) return 2;
    return scenario::CountErrors(check.Findings()) > 0 ? 1 : 0;
}

}  // namespace vrkcheck
