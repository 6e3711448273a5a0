#pragma once
// Map > Save environment: the view's environment written to a ".env" file the user chooses; an
// existing file of exactly that name is replaced only when the user agrees.
namespace globe {
class TCustomVoduz4;
}
namespace platform {
class FileSystem;
class UserDialogs;
}

namespace editor {

// Nothing is asked without a view; a file that cannot be written is reported.
void SaveEnvironmentAs(globe::TCustomVoduz4* view, platform::UserDialogs& dialogs, platform::FileSystem& files);

}  // namespace editor
