#include "app/error_report.h"

#include <gtest/gtest.h>

#include "runtime_error.h"
#include "test_program.h"

namespace inkrelay {
namespace {

using test::ProgramEnded;
using test::TestProgram;

TEST(ComposeErrorMessage, completeSentencesAreShownWithTheirCodeAndTheProgramGoesOn) {
    const ErrorMessage m53 = ComposeErrorMessage(53);
    EXPECT_EQ(m53.Text, "ファイルが見つかりません。(53)");
    EXPECT_FALSE(m53.Fatal);
    EXPECT_EQ(ComposeErrorMessage(481).Text, "ピクチャが不正です。(481)");
    EXPECT_EQ(ComposeErrorMessage(521).Text, "クリップボードを開けません。(521)");
    for (int code : {52, 53, 55, 58, 61, 68, 70, 71, 75, 76, 321, 460, 481, 485, 520, 521})
        EXPECT_FALSE(ComposeErrorMessage(code).Fatal) << code;
}

TEST(ComposeErrorMessage, clausesEmptyEntriesAndCodesBeyondTheTableEndTheProgram) {
    EXPECT_EQ(ComposeErrorMessage(7).Text,
              "メモリが不足しているため、インクリレーを終了します。(7)");
    EXPECT_EQ(ComposeErrorMessage(57).Text,
              "デバイス I/O エラーが発生したため、インクリレーを終了します。(57)");
    EXPECT_EQ(ComposeErrorMessage(48).Text,
              "DLL の読み込み時に問題が発生したため、インクリレーを終了します。(48)");
    for (int code : {5, 6, 9, 380, 0, 521 + 1, 600}) {
        const ErrorMessage m = ComposeErrorMessage(code);
        EXPECT_TRUE(m.Fatal) << code;
        EXPECT_EQ(m.Text,
                  "問題が発生したため、インクリレーを終了します。(" + std::to_string(code) + ")");
    }
    for (int code : {7, 48, 49, 57}) EXPECT_TRUE(ComposeErrorMessage(code).Fatal) << code;
}

TEST(ComposeErrorMessage, negativeCodesGetAGeneralMessageAndAreNotFatal) {
    const ErrorMessage m = ComposeErrorMessage(-2147221504);
    EXPECT_EQ(m.Text, "問題が発生しました。(-2147221504)");
    EXPECT_FALSE(m.Fatal);
}

TEST(ReportError, nonFatalShowsACriticalBoxAndReturnsWithStateUntouched) {
    TestProgram p;
    p.State->Scanning = true;
    ReportError(p.Run, 481);
    ASSERT_EQ(p.Ui.Messages.size(), 1u);
    EXPECT_EQ(p.Ui.Messages[0].Text, "ピクチャが不正です。(481)");
    EXPECT_EQ(p.Ui.Messages[0].Icon, MessageIcon::Critical);
    EXPECT_TRUE(p.State->Scanning);
    EXPECT_FALSE(std::filesystem::exists(p.SettingsFile()));
}

TEST(ReportError, fatalDuringAReadEndsWithoutTheCloseRefusalAndSavesTheSettings) {
    TestProgram p;
    p.State->Speed = 3;
    p.State->Scanning = true;
    p.State->Drawing = true;
    try {
        ReportError(p.Run, 57);
        FAIL() << "a fatal error returned to its caller";
    } catch (const ProgramEnded& ended) {
        EXPECT_NE(ended.ExitStatus, 0);
    }
    EXPECT_EQ(p.Ui.Texts(),
              (std::vector<std::string>{
                  "デバイス I/O エラーが発生したため、インクリレーを終了します。(57)"}));
    EXPECT_FALSE(p.State->Scanning);
    EXPECT_FALSE(p.State->Drawing);
    EXPECT_TRUE(p.State->Closing);
    EXPECT_EQ(p.Ui.UnloadCount, 1);
    EXPECT_NE(test::ReadFile(p.SettingsFile()).find("Speed=3;\r\n"), std::string::npos);
}

TEST(ReportError, fatalErrorWhileAlreadyShuttingDownEndsWithoutASecondShutDown) {
    TestProgram p;
    p.State->Closing = true;
    EXPECT_THROW(ReportError(p.Run, 57), ProgramEnded);
    EXPECT_EQ(p.Ui.UnloadCount, 0);
    EXPECT_FALSE(std::filesystem::exists(p.SettingsFile()));
}

TEST(RunHandler, passesTheFirstFailureOnAndTurnsAllocationFailureIntoOutOfMemory) {
    TestProgram p;
    RunHandler(p.Run, [] { throw RuntimeError(ErrorCode::FileNotFound); });
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{"ファイルが見つかりません。(53)"}));

    EXPECT_THROW(RunHandler(p.Run, [] { throw std::bad_alloc(); }), ProgramEnded);
    EXPECT_EQ(p.Ui.Messages.back().Text, "メモリが不足しているため、インクリレーを終了します。(7)");
}

}  // namespace
}  // namespace inkrelay
