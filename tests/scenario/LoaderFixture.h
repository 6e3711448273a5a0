#pragma once
// A scenario loader over an in-memory file system with scripted dialogs: the scenario directory
// is /scen, the program folder /prog (with its Data folder).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "globe/view/PresenterClasses.h"
#include "platform/testing/MemoryFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"

namespace scenario::testing {

inline constexpr const char* kScenarioDir = "/scen/";

class LoaderFixture : public ::testing::Test {
protected:
    LoaderFixture() {
        files.AddDirectory("/prog/Data");
        files.AddDirectory("/scen");
        state.ScenarioDir = kScenarioDir;
    }

    // Adds a file of the scenario directory; lines are joined with CR LF.
    void AddFile(const std::string& name, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        files.AddFile(std::string(kScenarioDir) + name, bytes);
    }

    std::vector<std::string> Reports() const { return dialogs.Reports(); }

    globe::TPresenterClassesRegistration registration;
    globe::TCustomVoduz4 globe;  // destroyed after the state that refers to its objects
    platform::testing::MemoryFileSystem files;
    platform::testing::ScriptedDialogs dialogs;
    TScenarioState state;
    TScenarioLoader loader{state, globe, dialogs, files, platform::RegionalSettings{}, "/prog"};
};

}  // namespace scenario::testing
