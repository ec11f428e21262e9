#pragma once
// The main window's commands that set the scan range without the mouse.

#include <cstdint>

namespace inkrelay {

struct Program;

// A size × size range from the top-left corner (0: no range), then the image window shown so
// that its display's focus draws or clears the outline; errors reported.
void SelectFromOrigin(Program& program, int16_t size);

void Edit_SelectAll_Click(Program& program);
void Edit_SelectSquare_Click(Program& program, int16_t size);
void Edit_CancelSelection_Click(Program& program);
// The range button: the image window, where the range is chosen with the mouse.
void Command2_Click(Program& program);

}  // namespace inkrelay
