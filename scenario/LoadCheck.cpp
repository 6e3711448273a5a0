#include "scenario/LoadCheck.h"

#include <exception>

#include "globe/data/CustomVoduz4.h"
#include "globe/view/PresenterClasses.h"
#include "globe/view/Voduz4.h"
#include "platform/UserDialogs.h"
#include "scenario/Base.h"
#include "scenario/EditorGlobeSettings.h"
#include "scenario/Force.h"
#include "scenario/LintLand.h"
#include "scenario/ScenarioLint.h"
#include "scenario/ScenarioState.h"
#include "scenario/ViewMapPainter.h"

namespace scenario {

// Records what would be shown; questions take their default button, choices are cancelled.
class TLoadCheck::TMessageLog : public platform::UserDialogs {
public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowError(const std::string& text) override { Messages.push_back(text); }
    platform::DialogAnswer Confirm(const std::string& text, platform::DialogButtons buttons) override {
        Messages.push_back(text);
        return platform::DefaultAnswer(buttons);
    }
    std::string InputBox(const std::string&, const std::string&, const std::string& defaultText) override {
        return defaultText;
    }
    std::string ChooseDirectory(const std::string&) override { return {}; }
    std::string ChooseSaveFile(const platform::SaveFileOptions&) override { return {}; }

    std::vector<std::string> Messages;
};

TLoadCheck::TLoadCheck(platform::FileSystem& files, platform::RegionalSettings settings, std::string programDir)
    : Files_(files),
      Settings_(std::move(settings)),
      ProgramDir_(std::move(programDir)),
      // Environment files name presenter classes; they must be known before the globe is made.
      Log_((globe::RegisterPresenterClasses(), std::make_unique<TMessageLog>())),
      Globe_(std::make_unique<globe::TVoduz4>()),
      State_(std::make_unique<TScenarioState>()) {
    // The map as the editor's main window opens.
    ApplyGlobeStartSettings(View());
}

TLoadCheck::~TLoadCheck() { State_.reset(); }

platform::UserDialogs& TLoadCheck::Dialogs() { return *Log_; }

const std::vector<std::string>& TLoadCheck::Messages() const { return Log_->Messages; }

void TLoadCheck::Run(const std::string& dir) {
    TScenarioLoader loader(*State_, *Globe_, *Log_, Files_, Settings_, ProgramDir_);
    try {
        Kind_ = loader.LoadDirectory(dir);
    } catch (const std::exception& error) {
        Log_->ShowError(error.what());
    }
}

const std::vector<TLintFinding>& TLoadCheck::Lint() {
    const std::unique_ptr<globe::TLandIndex> land = LandForScenario(*Globe_, ProgramDir_);
    Findings_ = LintScenario(*State_, land.get(), Files_);
    Linted_ = true;
    return Findings_;
}

std::string TLoadCheck::FindingsText(std::string_view filePrefix) const {
    std::string text;
    std::size_t counts[3] = {0, 0, 0};
    for (const TLintFinding& finding : Findings_) {
        text += std::string(filePrefix) + FormatFinding(finding) + "\n";
        ++counts[static_cast<int>(finding.Severity)];
    }
    text += "lint: " + std::to_string(counts[0]) + " errors, " + std::to_string(counts[1]) + " warnings, " +
            std::to_string(counts[2]) + " notes\n";
    return text;
}

void TLoadCheck::Paint(platform::DrawingSurface& surface, int width, int height) {
    globe::TVoduz4& view = View();
    view.SetClientSize(width, height);
    view.OnRender = [this](globe::TVoduz4& v) { DrawBasesOnView(State_->BaseList, v); };
    view.RedrawGlobe();
    view.Paint(surface);
    view.OnRender = nullptr;
}

std::string TLoadCheck::Text() const {
    std::string text;
    for (std::size_t i = 0; i < Messages().size(); ++i) {
        text += "message " + std::to_string(i + 1) + ":\n";
        std::string_view rest = Messages()[i];
        while (true) {
            const auto end = rest.find('\r');
            text += "  ";
            text += rest.substr(0, end);
            text += '\n';
            if (end == std::string_view::npos) break;
            rest.remove_prefix(end + 1);
        }
    }
    const char* kind = Kind_ == TScenarioKind::skScenario   ? "scenario"
                       : Kind_ == TScenarioKind::skCampaign ? "campaign"
                                                             : "none";
    text += std::string(kind) + ": " + std::to_string(State_->BaseList.size()) + " bases, " +
            std::to_string(State_->ForceList.size()) + " forces, " + std::to_string(Messages().size()) +
            " messages\n";
    return text;
}

globe::TVoduz4& TLoadCheck::View() { return static_cast<globe::TVoduz4&>(*Globe_); }

}  // namespace scenario
