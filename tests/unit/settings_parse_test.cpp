#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/settings.h"
#include "runtime_error.h"
#include "test_program.h"

namespace inkrelay {
namespace {

AppState& Defaults(AppState& state) {
    SetSettingDefaults(state);
    return state;
}

TEST(ProgramFilePath, joinsWithOneSeparatorAlsoAtADriveRoot) {
    EXPECT_EQ(ProgramFilePath("C:\\Tools\\Inkrelay", "Inkrelay.ini", '\\'),
              "C:\\Tools\\Inkrelay\\Inkrelay.ini");
    EXPECT_EQ(ProgramFilePath("C:\\", "Inkrelay.ini", '\\'), "C:\\Inkrelay.ini");
    EXPECT_EQ(ProgramFilePath("/opt/inkrelay", "Inkrelay.ini", '/'), "/opt/inkrelay/Inkrelay.ini");
    EXPECT_EQ(ProgramFilePath("/", "Inkrelay.ini", '/'), "/Inkrelay.ini");
}

TEST(JoinSettingsFields, joinsLinesAndCommaFieldsSkippingLeadingBlanksAndQuotes) {
    EXPECT_EQ(JoinSettingsFields("[A]\r\nMode=1;\r\n"), "[A]Mode=1;");
    EXPECT_EQ(JoinSettingsFields("a,b\r\n  c\nd\re"), "abcde");
    EXPECT_EQ(JoinSettingsFields("\"Mode=1;\" ignored,x"), "Mode=1;x");
    EXPECT_EQ(JoinSettingsFields("\"spans\r\nlines\"\r\nnext"), "spans\r\nlinesnext");
    EXPECT_EQ(JoinSettingsFields("\"unterminated"), "unterminated");
    EXPECT_EQ(JoinSettingsFields(""), "");
    EXPECT_EQ(JoinSettingsFields(std::string("a\0b\r\n", 5)), std::string("a\0b", 3));
}

TEST(SettingValue, takesTheFirstMatchUpToTheNextSemicolonCaseSensitively) {
    EXPECT_EQ(SettingValue("[S]Speed=3;Speed=4;", "Speed"), "3");
    EXPECT_EQ(SettingValue("Speed=;", "Speed"), "");
    EXPECT_EQ(SettingValue("speed=3;", "Speed"), "");
    EXPECT_EQ(SettingValue("Mode=1[Main]Applet=2;", "Mode"), "1[Main]Applet=2");
    try {
        SettingValue("Check=1", "Check");
        FAIL() << "a value without ; was accepted";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Code(), ErrorCode::InvalidArgument);
    }
}

TEST(LeadingNumber, readsTheLeadingNumberIgnoringBlanks) {
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber(" 1 2 "), 12);
    EXPECT_EQ(LeadingNumber("-7"), -7);
    EXPECT_EQ(LeadingNumber("2.5"), 2.5);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("1e3x"), 1000);
    EXPECT_EQ(LeadingNumber("1e"), 1);
    EXPECT_EQ(LeadingNumber("true"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("-"), 0);
}

TEST(IntegerSetting, roundsHalvesToEvenAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(IntegerSetting("2.5"), 2);
    EXPECT_EQ(IntegerSetting("3.5"), 4);
    EXPECT_EQ(IntegerSetting("-2.5"), -2);
    EXPECT_EQ(IntegerSetting("32767.4"), 32767);
    EXPECT_EQ(IntegerSetting("32767.5"), std::nullopt);
    EXPECT_EQ(IntegerSetting("-32768"), -32768);
    EXPECT_EQ(IntegerSetting("40000"), std::nullopt);
    EXPECT_EQ(IntegerSetting("1e400"), std::nullopt);
    EXPECT_EQ(LongSetting("16777215"), 16777215);
    EXPECT_EQ(LongSetting("2147483648"), std::nullopt);
}

TEST(ApplySettings, readsWhatSaveWritesRegardlessOfOrderAndSections) {
    AppState written;
    written.Mode = 1;
    written.Applet = 3;
    written.ScanCol = 0x123456;
    written.Quality = 2;
    written.Formula = 1;
    written.AutoClose = false;
    written.Speed = 2;
    written.Check = false;
    const std::string text = SettingsFileText(written);

    AppState read;
    ApplySettings(JoinSettingsFields(text), Defaults(read));
    EXPECT_EQ(SettingsFileText(read), text);

    AppState shuffled;
    ApplySettings(JoinSettingsFields("Check=0;\r\nSpeed=2;\r\nAutoClose=0;\r\nFormula=1;\r\n"
                                     "Quality=2;\r\nScanCol=1193046;\r\nApplet=3;\r\nMode=1;\r\n"),
                  Defaults(shuffled));
    EXPECT_EQ(SettingsFileText(shuffled), text);
}

TEST(ApplySettings, missingKeysBecomeZeroAndOnlyTheExactText1IsTrue) {
    AppState state;
    ApplySettings(JoinSettingsFields("AutoClose=true;\r\nCheck= 1;\r\n"), Defaults(state));
    EXPECT_EQ(state.Mode, 0);
    EXPECT_EQ(state.Applet, 0);
    EXPECT_EQ(state.ScanCol, 0);
    EXPECT_FALSE(state.AutoClose);
    EXPECT_FALSE(state.Check);
    EXPECT_EQ(state.Speed, 5);  // 0 is no speed: the default stays
}

TEST(ApplySettings, valuesThatDoNotFitOrAreOutOfRangeKeepTheStartUpDefaults) {
    AppState state;
    ApplySettings(JoinSettingsFields("Mode=70000;Applet=6;Quality=-1;Formula=2;Speed=40000;"
                                     "ScanCol=9999999999;AutoClose=1;Check=1;"),
                  Defaults(state));
    EXPECT_EQ(state.Mode, 0);
    EXPECT_EQ(state.Applet, 1);
    EXPECT_EQ(state.Quality, 0);
    EXPECT_EQ(state.Formula, 0);
    EXPECT_EQ(state.Speed, 5);
    EXPECT_EQ(state.ScanCol, 0);

    ApplySettings(JoinSettingsFields("Speed=6;Applet=-1;Mode=-3;"), state);
    EXPECT_EQ(state.Speed, 5);
    EXPECT_EQ(state.Applet, 1);
    EXPECT_EQ(state.Mode, -3);  // Mode is not checked: nothing refuses it later
    ApplySettings(JoinSettingsFields("Applet=5;"), state);
    EXPECT_EQ(state.Applet, 5);  // the last of the list

    ApplySettings(JoinSettingsFields("Speed=2.5;"), state);
    EXPECT_EQ(state.Speed, 2);
    ApplySettings(JoinSettingsFields("Speed=3.5;"), state);
    EXPECT_EQ(state.Speed, 4);
}

TEST(ApplySettings, aModeLineMissingItsSemicolonStillGivesItsLeadingNumber) {
    AppState state;
    ApplySettings(JoinSettingsFields("[Main Settings]\r\nMode=1\r\nApplet=2;\r\n"),
                  Defaults(state));
    EXPECT_EQ(state.Mode, 1);
    EXPECT_EQ(state.Applet, 2);
}

TEST(SettingsFileText, theDefaultsGiveTheFourteenLines) {
    AppState state;
    EXPECT_EQ(SettingsFileText(Defaults(state)), test::DefaultSettingsText);
    state.ScanCol = -5;
    EXPECT_NE(SettingsFileText(state).find("\r\nScanCol=-5;\r\n"), std::string::npos);
}

}  // namespace
}  // namespace inkrelay
