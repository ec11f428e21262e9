#include "draw/drawing_log.h"

#include <cstdlib>
#include <ctime>

#include "replace_file.h"

namespace inkrelay {

std::string PadNumber(int64_t n, int digits) {
    std::string magnitude = std::to_string(n < 0 ? -n : n);
    if (static_cast<int>(magnitude.size()) < digits)
        magnitude.insert(0, static_cast<size_t>(digits) - magnitude.size(), '0');
    return n < 0 ? "-" + magnitude : magnitude;
}

std::string LocalTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    // One user-interface thread, so localtime's shared buffer is safe here.
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return "00:00:00";
    return PadNumber(local->tm_hour, 2) + ":" + PadNumber(local->tm_min, 2) + ":" +
           PadNumber(local->tm_sec, 2);
}

std::string HeaderLine(const LogHeader& h) {
    return "[Ver.2.10]  Mode:" + std::to_string(h.Mode) + "  Applet:" + std::to_string(h.Applet) +
           "  Speed:" + std::to_string(h.Speed) + "  ScanWidth:" + PadNumber(h.ScanWidth, 4) +
           "  ScanHeight:" + PadNumber(h.ScanHeight, 4) + "  DrawPos:" + PadNumber(h.DrawPos.X, 4) +
           "," + PadNumber(h.DrawPos.Y, 4) + "  RGBBarPos:" + PadNumber(h.RGBBarPos.X, 4) + "," +
           PadNumber(h.RGBBarPos.Y, 4) + "  EventMemEnd:" + PadNumber(h.EventMemEnd, 7);
}

std::string StartLine(const std::string& time) {
    return "[" + time + "]  Drawing started.";
}

std::string FinishLine(const std::string& time) {
    return "[" + time + "]  Drawing finished or canceled.";
}

std::string ErrorLine(const std::string& time, const LogErrorState& s, const EventMemory& mem) {
    const RunPosition& at = s.At;
    const auto level = [&](int32_t offset) {
        return PadNumber(std::abs(int32_t{mem[at.RmkPnt + offset]}), 2);
    };
    return "[" + time + "]  ErrNum:" + (at.PickedUp() ? "Gt" : "Mk") +
           std::string(EventNames[static_cast<size_t>(s.FailedCode)]) +
           "  ErrCnt:" + PadNumber(s.ErrCnt, 2) + "  RGBBarNum:" + std::to_string(s.RGBBarNum) +
           "  DET:" + PadNumber(s.DET, 2) + "  i:" + PadNumber(at.i, 7) +
           "  RmkPnt:" + PadNumber(at.RmkPnt, 7) + "  RgtPnt:" + PadNumber(at.RgtPnt, 7) +
           "  RsmPnt:" + PadNumber(at.RsmPnt, 7) + "  RmkRGB:" + level(1) + "," + level(2) + "," +
           level(3);
}

int16_t NextLogSlot(int16_t slot) {
    return slot >= LogSlotCount - 1 ? FirstErrorSlot : static_cast<int16_t>(slot + 1);
}

int32_t WriteDrawingLog(const std::string& path, const DrawLogLines& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        text += line;
        text += "\r\n";
    }
    return ReplaceFileContents(path, text);
}

std::string LogNoticeText(const std::string& path) {
    return "描き込み中に発生したエラーに関する情報を、次のファイルに記録しました。\r\r" + path +
           "\r\r朧月舎では、このファイルを製品の改善に役立てることができます。\r"
           "なお、あなたのプライバシーに関する情報は、このファイルに含まれていません。";
}

}  // namespace inkrelay
