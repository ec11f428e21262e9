#pragma once
// The image window's display: range dragging, panning, the hover grips and the line-colour pick.
// While a read runs it ignores the mouse and the focus.

#include <cstdint>

namespace inkrelay {

struct Program;

// Button values as the display's events give them; a move gives the buttons held.
namespace DisplayButton {
inline constexpr int16_t Left = 1;
inline constexpr int16_t Right = 2;
inline constexpr int16_t Middle = 4;
}  // namespace DisplayButton

// x, y in pixels of the display's client area.
void Picture1_MouseDown(Program& program, int16_t button, int16_t x, int16_t y);
void Picture1_MouseMove(Program& program, int16_t buttons, int16_t x, int16_t y);
void Picture1_MouseUp(Program& program, int16_t button, int16_t x, int16_t y);
// Exactly one outline of a selected range, or no range at all.
void Picture1_GotFocus(Program& program);

}  // namespace inkrelay
