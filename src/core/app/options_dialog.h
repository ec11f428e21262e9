#pragma once
// The options dialog's logic: loading its controls from the settings, OK and Cancel.

#include <array>
#include <cstdint>
#include <string_view>

namespace inkrelay {

struct AppState;
struct Program;

// The dialog's control values: two list indexes, two check boxes (1 ticked, 0 empty), the slider.
struct OptionsControls {
    int16_t Combo1Index = 0;  // quality
    int16_t Combo2Index = 0;  // method
    int16_t Check1 = 0;       // auto-close
    int16_t Check2 = 0;       // verify
    int16_t Slider1 = 5;      // speed, 1 .. 5
    friend bool operator==(const OptionsControls&, const OptionsControls&) = default;
};

// The two lists in the order of their indexes, and the slider's range: what each control can show.
inline constexpr std::array<std::string_view, 3> QualityListEntries{
    "高画質 / 低速 (140608色)", "中画質 / 中速 (42875色)", "低画質 / 高速 (5832色)"};
inline constexpr std::array<std::string_view, 2> MethodListEntries{
    "インクジェットプリンタ方式 / 低速", "カラープライム方式 / 高速"};
inline constexpr int16_t SlowestSpeed = 1;
inline constexpr int16_t FastestSpeed = 5;

inline constexpr const char* RestoreSettingsChangedMessage =
    "復元に関する設定が変更されました。\rこの変更を有効にするため、再度読み取りを行ってください。";

class OptionsDialogLogic {
  public:
    // Remembers the quality and method shown. A value its control cannot show raises 380.
    OptionsControls Load(const AppState& state);
    // Stores the values, drops a read made with other restore settings, writes the settings
    // file and updates the main window. The caller hides the dialog afterwards.
    void Ok(Program& program, const OptionsControls& controls);

    int16_t RememberedQuality() const { return rememberedQuality_; }
    int16_t RememberedMethod() const { return rememberedMethod_; }

  private:
    int16_t rememberedQuality_ = 0;
    int16_t rememberedMethod_ = 0;
};

}  // namespace inkrelay
