#pragma once
// The image window's handlers that touch the state record.

namespace inkrelay {

struct Program;

// The View menu's toggle: hide when shown; otherwise show and give the focus back.
void View_ImageWindow_Click(Program& program);

// The close box only hides the window (ending a pending colour pick) unless the program is
// ending. Returns whether the window may really close.
bool Form2_QueryUnload(Program& program);

}  // namespace inkrelay
