#pragma once
// The main window's drawing buttons: the two position captures and the drawing run.

#include <string>

namespace inkrelay {

struct Program;

// 位置の指定 of the draw position: waits for the user's click anywhere on the desktop.
void Command3_Click(Program& program);
// 位置の指定 of the RGB bar position, with the magnifier.
void Command4_Click(Program& program);
// 描き込む(&D): confirms, then replays the draw list into the applet.
void Command6_Click(Program& program);

// Where a drawing run leaves its log: Inkrelay.log in the program's folder.
std::string DrawingLogPath(const Program& program);

}  // namespace inkrelay
