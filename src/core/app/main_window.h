#pragma once
// The main window's own handlers; the windows forward their events here.

#include <cstdint>
#include <string_view>
#include <vector>

namespace inkrelay {

struct Program;

// The applet list's entries, in the order of Applet's values.
std::vector<std::string_view> AppletListEntries();
// The applet list: Applet follows the chosen index.
void Combo1_Click(Program& program, int16_t listIndex);
// The File and Edit menus bring the controls up to date as they open (the clipboard may have
// changed since).
void Menu_Opening(Program& program);
// Exactly the close box.
void File_Exit_Click(Program& program);
// Opens Readme.txt from the program's folder; a missing file is not reported.
void Help_ShowReadme_Click(Program& program);

}  // namespace inkrelay
