#include "app/settings.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

#include "app/error_report.h"
#include "app/program.h"
#include "draw/applet_profile.h"
#include "file_errors.h"
#include "replace_file.h"
#include "runtime_error.h"
#include "utf8_files.h"
#include "whole_file.h"

namespace inkrelay {

namespace {

constexpr char PathSeparator = std::filesystem::path::preferred_separator;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

template <typename T>
std::optional<T> RoundedToFit(double value) {
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (!(rounded >= std::numeric_limits<T>::min() && rounded <= std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(rounded);
}

void StoreInteger(std::string_view text, int16_t& field, int16_t lowest, int16_t highest) {
    const std::optional<int16_t> value = IntegerSetting(text);
    if (value && *value >= lowest && *value <= highest)
        field = *value;
}

}  // namespace

std::string ProgramFilePath(std::string_view folder, std::string_view name, char separator) {
    std::string joined = std::string(folder) + separator + std::string(name);
    std::string path;
    path.reserve(joined.size());
    for (size_t i = 0; i < joined.size(); ++i) {
        path += joined[i];
        if (joined[i] == separator && i + 1 < joined.size() && joined[i + 1] == separator)
            ++i;
    }
    return path;
}

std::string SettingsFilePath(std::string_view programDir) {
    return ProgramFolderFilePath(programDir, SettingsFileName);
}

std::string ProgramFolderFilePath(std::string_view programDir, std::string_view name) {
    return ProgramFilePath(programDir, name, PathSeparator);
}

std::string ChooseSettingsDir(const std::string& programDir, const std::string& configHome,
                              const std::string& home) {
    if (FolderIsWritable(programDir))
        return programDir;
    std::filesystem::path base;
    if (!configHome.empty() && PathFromUtf8(configHome).is_absolute())
        base = PathFromUtf8(configHome);
    else if (!home.empty())
        base = PathFromUtf8(home) / ".config";
    else
        return programDir;
    return Utf8FromPath(base / "inkrelay");
}

const std::string& SettingsFolder(const Program& program) {
    return program.SettingsDir.empty() ? program.ProgramDir : program.SettingsDir;
}

void PrepareSettingsFolder(const Program& program) {
    if (program.SettingsDir.empty() || program.SettingsDir == program.ProgramDir)
        return;
    // A failure shows as the write's own error a moment later.
    std::error_code ignored;
    std::filesystem::create_directories(PathFromUtf8(program.SettingsDir), ignored);
}

std::string JoinSettingsFields(std::string_view text) {
    std::string joined;
    size_t i = 0;
    const size_t n = text.size();
    auto skipDelimiter = [&] {
        if (i < n && text[i] == ',') {
            ++i;
        } else if (i < n && text[i] == '\r') {
            ++i;
            if (i < n && text[i] == '\n')
                ++i;
        } else if (i < n && text[i] == '\n') {
            ++i;
        }
    };
    while (i < n) {
        while (i < n && IsBlank(text[i])) ++i;
        if (i < n && text[i] == '"') {
            const size_t close = text.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? n : close;
            joined.append(text.substr(i + 1, end - i - 1));
            i = end == n ? n : end + 1;
            // What stands between the closing quote and the next delimiter is not part of it.
            while (i < n && text[i] != ',' && !IsLineEnd(text[i])) ++i;
        } else {
            const size_t start = i;
            while (i < n && text[i] != ',' && !IsLineEnd(text[i])) ++i;
            joined.append(text.substr(start, i - start));
        }
        skipDelimiter();
    }
    return joined;
}

std::string SettingValue(std::string_view joined, std::string_view key) {
    const std::string pattern = std::string(key) + "=";
    const size_t at = joined.find(pattern);
    if (at == std::string_view::npos)
        return {};
    const size_t start = at + pattern.size();
    const size_t end = joined.find(';', start);
    if (end == std::string_view::npos)
        throw RuntimeError(ErrorCode::InvalidArgument);
    return std::string(joined.substr(start, end - start));
}

double LeadingNumber(std::string_view text) {
    // Blanks are dropped anywhere before the number is read, the way the runtime's Val does.
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            compact += c;

    size_t i = 0;
    const size_t n = compact.size();
    auto digitsFrom = [&](size_t from) {
        size_t k = from;
        while (k < n && compact[k] >= '0' && compact[k] <= '9') ++k;
        return k;
    };
    if (i < n && (compact[i] == '+' || compact[i] == '-'))
        ++i;
    const size_t intEnd = digitsFrom(i);
    size_t end = intEnd;
    bool anyDigit = intEnd > i;
    if (end < n && compact[end] == '.') {
        const size_t fracEnd = digitsFrom(end + 1);
        anyDigit = anyDigit || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!anyDigit)
        return 0.0;
    if (end < n && (compact[end] == 'e' || compact[end] == 'E' || compact[end] == 'd' ||
                    compact[end] == 'D')) {
        size_t k = end + 1;
        if (k < n && (compact[k] == '+' || compact[k] == '-'))
            ++k;
        const size_t expEnd = digitsFrom(k);
        if (expEnd > k) {
            std::string number = compact.substr(0, expEnd);
            number[end] = 'e';
            return std::strtod(number.c_str(), nullptr);
        }
    }
    return std::strtod(compact.substr(0, end).c_str(), nullptr);
}

std::optional<int16_t> IntegerSetting(std::string_view text) {
    return RoundedToFit<int16_t>(LeadingNumber(text));
}

std::optional<int32_t> LongSetting(std::string_view text) {
    return RoundedToFit<int32_t>(LeadingNumber(text));
}

std::string SettingsFileText(const AppState& state) {
    const auto line = [](std::string text) { return text + "\r\n"; };
    const auto flag = [](bool value) { return value ? "1" : "0"; };
    std::string text;
    text += line("[Version]");
    text += line("Version=2.10;");
    text += line("[Main Settings]");
    text += line("Mode=" + std::to_string(state.Mode) + ";");
    text += line("Applet=" + std::to_string(state.Applet) + ";");
    text += line("ScanCol=" + std::to_string(state.ScanCol) + ";");
    text += line("[Recovery Settings]");
    text += line("Quality=" + std::to_string(state.Quality) + ";");
    text += line("Formula=" + std::to_string(state.Formula) + ";");
    text += line("[Scan Settings]");
    text += line(std::string("AutoClose=") + flag(state.AutoClose) + ";");
    text += line("[Draw Settings]");
    text += line("Speed=" + std::to_string(state.Speed) + ";");
    text += line(std::string("Check=") + flag(state.Check) + ";");
    return text;
}

void ApplySettings(std::string_view joined, AppState& state) {
    constexpr int16_t anyLow = std::numeric_limits<int16_t>::min();
    constexpr int16_t anyHigh = std::numeric_limits<int16_t>::max();
    StoreInteger(SettingValue(joined, "Mode"), state.Mode, anyLow, anyHigh);
    if (const auto scanCol = LongSetting(SettingValue(joined, "ScanCol")))
        state.ScanCol = *scanCol;
    StoreInteger(SettingValue(joined, "Applet"), state.Applet, 0, AppletCount - 1);
    StoreInteger(SettingValue(joined, "Quality"), state.Quality, 0, 2);
    StoreInteger(SettingValue(joined, "Formula"), state.Formula, 0, 1);
    state.AutoClose = SettingValue(joined, "AutoClose") == "1";
    StoreInteger(SettingValue(joined, "Speed"), state.Speed, 1, 5);
    state.Check = SettingValue(joined, "Check") == "1";
}

void LoadSettings(Program& program) {
    const std::string path = SettingsFilePath(SettingsFolder(program));
    std::error_code statusError;
    const auto status = std::filesystem::status(PathFromUtf8(path), statusError);
    if (statusError && status.type() != std::filesystem::file_type::not_found) {
        ReportError(program, RuntimeCodeFor(statusError, FileAccess::Read));
        return;
    }
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status))
        return;

    const WholeFile file = ReadWholeFile(path);
    if (file.Error != 0)
        ReportError(program, file.Error);
    // What was read before a failure part way is still used.
    if (file.Opened)
        RunHandler(program, [&] { ApplySettings(JoinSettingsFields(file.Bytes), program.State); });
}

void SaveSettings(Program& program) {
    PrepareSettingsFolder(program);
    if (const int32_t code = ReplaceFileContents(SettingsFilePath(SettingsFolder(program)),
                                                 SettingsFileText(program.State)))
        ReportError(program, code);
}

}  // namespace inkrelay
