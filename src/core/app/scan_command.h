#pragma once
// 読み取る(&S): the selected range of the working picture into the draw list.

namespace inkrelay {

struct Program;

inline constexpr const char* RangeTooLargeMessage =
    "読み取り範囲が広すぎます。\r読み取り範囲は、縦幅・横幅ともに1200ピクセル以内で指定してください"
    "。";
inline constexpr const char* ScanCompletedMessage = "画像の読み取りが完了しました。";
inline constexpr const char* TooManyColoursMessage = "読み取り範囲に含まれる色が多すぎます。";

// Checks the size, enters the scanning state, runs the scanner the option buttons and the
// method choose, finishes with the preview and the message, and leaves the scanning state.
void Command5_Click(Program& program);

}  // namespace inkrelay
