#include "app/error_report.h"

#include "app/lifecycle.h"
#include "app/program.h"

namespace inkrelay {

namespace {

constexpr std::string_view ClosingClause = "ため、インクリレーを終了します。";
constexpr std::string_view UnnamedProblem = "問題が発生した";
constexpr std::string_view SentenceEnd = "。";

}  // namespace

std::string_view MessageTableText(int32_t code) {
    switch (code) {
        case 7: return "メモリが不足している";
        case 48: return "DLL の読み込み時に問題が発生した";
        case 49: return "DLL を正しく呼び出せない";
        case 52: return "ファイル名又は番号が不正です。";
        case 53: return "ファイルが見つかりません。";
        case 55: return "ファイルがすでに開かれています。";
        case 57: return "デバイス I/O エラーが発生した";
        case 58: return "同名のファイルがすでに存在しています。";
        case 61: return "ディスクの空き容量が不足しています。";
        case 68: return "デバイスが準備されていません。";
        case 70: return "ファイルに書き込めません。";
        case 71: return "ディスクが準備されていません。";
        case 75: return "パスが不正です。";
        case 76: return "パスが見つかりません。";
        case 321: return "ファイルの形式が不正です。";
        case 460: return "クリップボードのデータ形式が不正です。";
        case 481: return "ピクチャが不正です。";
        case 485: return "ピクチャの形式が不正です。";
        case 520: return "クリップボードを初期化できません。";
        case 521: return "クリップボードを開けません。";
        default: return {};
    }
}

ErrorMessage ComposeErrorMessage(int32_t code) {
    const std::string suffix = "(" + std::to_string(code) + ")";
    if (code < 0)
        return {"問題が発生しました。" + suffix, false};

    const std::string_view entry = code < MessageTableSize ? MessageTableText(code) : "";
    if (entry.ends_with(SentenceEnd))
        return {std::string(entry) + suffix, false};

    const std::string_view cause = entry.empty() ? UnnamedProblem : entry;
    return {std::string(cause) + std::string(ClosingClause) + suffix, true};
}

void ReportError(Program& program, int32_t code) {
    const ErrorMessage message = ComposeErrorMessage(code);
    program.Windows.ShowMessage(message.Text, MessageIcon::Critical);
    if (!message.Fatal)
        return;

    AppState& state = program.State;
    state.Scanning = false;
    state.Drawing = false;
    // A fatal error raised by the shut-down itself (a failing settings write) must not start the
    // shut-down a second time.
    if (state.Closing)
        program.Windows.EndProgram(ExitStatus::Fatal);
    MainWindowQueryUnload(program, ExitStatus::Fatal);
    // The close cannot be refused with both busy flags cleared; end in any case.
    program.Windows.EndProgram(ExitStatus::Fatal);
}

}  // namespace inkrelay
