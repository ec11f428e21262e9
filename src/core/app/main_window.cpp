#include "app/main_window.h"

#include <filesystem>

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/lifecycle.h"
#include "app/program.h"
#include "app/settings.h"
#include "draw/applet_profile.h"
#include "file_errors.h"
#include "utf8_files.h"

namespace inkrelay {

std::vector<std::string_view> AppletListEntries() {
    std::vector<std::string_view> names;
    for (int16_t applet = 0; applet < AppletCount; ++applet)
        names.push_back(ProfileOf(applet).Name);
    return names;
}

void Combo1_Click(Program& program, int16_t listIndex) {
    program.State.Applet = listIndex;
}

void Menu_Opening(Program& program) {
    UpdateControls(program);
}

void File_Exit_Click(Program& program) {
    MainWindowQueryUnload(program);
}

void Help_ShowReadme_Click(Program& program) {
    // Every step runs even when the one before failed; the first failure is reported after.
    std::error_code changeDir;
    std::filesystem::current_path(PathFromUtf8(program.ProgramDir), changeDir);
    program.Windows.OpenWithShell(ProgramFolderFilePath(program.ProgramDir, "Readme.txt"));
    if (changeDir)
        ReportError(program, RuntimeCodeFor(changeDir, FileAccess::Read));
}

}  // namespace inkrelay
