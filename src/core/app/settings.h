#pragma once
// Inkrelay.ini beside the executable: read once at start-up, written in full at shut-down and on
// OK in the options dialog.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace inkrelay {

struct AppState;
struct Program;

inline constexpr std::string_view SettingsFileName = "Inkrelay.ini";

// folder + separator + name, with every doubled separator then made single (a drive root
// already ends in one).
std::string ProgramFilePath(std::string_view folder, std::string_view name, char separator);
std::string SettingsFilePath(std::string_view programDir);
// A file of the program's folder, joined with the platform's separator.
std::string ProgramFolderFilePath(std::string_view programDir, std::string_view name);

// The program's folder while this user may write there, so that a copy unpacked anywhere keeps
// its settings beside it as it always has; otherwise (an installed package's folder) the user's
// configuration folder: configHome/inkrelay, or home/.config/inkrelay when configHome is empty or
// relative, as the XDG base directory rules say. The program's folder again when neither is known,
// so that the save reports why it failed.
std::string ChooseSettingsDir(const std::string& programDir, const std::string& configHome,
                              const std::string& home);
// The folder settings and log are in: SettingsDir, or ProgramDir when it is not set.
const std::string& SettingsFolder(const Program& program);
// Creates the configuration folder before its first file is written. The program's own folder is
// never created: a missing one is reported as the write's failure.
void PrepareSettingsFolder(const Program& program);

// The file read field by field and joined with nothing between fields: a field is a line, or
// the part of a line up to a comma (dropped); leading blanks are skipped; a field starting with
// a double quote runs to the next double quote, without the quotes.
std::string JoinSettingsFields(std::string_view fileText);

// The text after the first "key=" up to the next ";", or empty when the key is absent. Case
// matters and sections play no part. No ";" after the key raises invalid argument (5).
std::string SettingValue(std::string_view joined, std::string_view key);

// The value of the text's leading number (blanks ignored), 0 when there is none.
double LeadingNumber(std::string_view text);
// The leading number rounded half to even, or nothing when it does not fit the field's width.
std::optional<int16_t> IntegerSetting(std::string_view text);
std::optional<int32_t> LongSetting(std::string_view text);

// The 14 CR LF lines SaveSettings writes.
std::string SettingsFileText(const AppState& state);
// Takes the eight values from the joined text into state. A value that does not fit its field,
// and an Applet, Quality, Formula or Speed outside the range its control accepts, leaves the
// field as it was: stored that way it would end the program at every start.
void ApplySettings(std::string_view joined, AppState& state);

// Failures go to ReportError; a missing file leaves the defaults without a message.
void LoadSettings(Program& program);
void SaveSettings(Program& program);

}  // namespace inkrelay
