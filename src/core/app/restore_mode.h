#pragma once
// The restore-mode buttons, the line-colour pick and the colour report of the main window.

#include <cstdint>
#include <string>

namespace inkrelay {

struct Program;

inline constexpr const char* ModeChangedQuestion =
    "復元モードが変更されました。\rこの変更を有効にするため、再度読み取りを行いますか？";

// 通常 and 単色線画: with a range and a read of the other kind, offer to read again; then set Mode.
void Option1_Click(Program& program);
void Option2_Click(Program& program);
// 色の指定: the next left click on the picture gives the line colour.
void Command1_Click(Program& program);
// The swatch: reports the line colour's channels.
void Picture1_Click(Program& program);

std::string ColourReport(int32_t scanCol);

}  // namespace inkrelay
