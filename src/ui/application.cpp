#include "application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include "app/lifecycle.h"
#include "dialog1.h"
#include "dialog2.h"
#include "form1.h"
#include "form2.h"
#include "program_icon.h"
#include "qt_ui.h"

namespace inkrelay::ui {

namespace {

// Qt's own dialogs and buttons in Japanese (はい, いいえ, キャンセル, the open dialog), like
// the program's texts.
std::unique_ptr<QTranslator> UseJapaneseForQt() {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(japanese, "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;  // without the translations installed Qt's texts stay English
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

void UseJapaneseGothic() {
    QFont font = QApplication::font();
    font.setFamilies({"IPAPGothic", "IPAGothic", "MS UI Gothic", "Meiryo UI"});
    font.setPointSize(9);
    QApplication::setFont(font);
}

// The controls stand at fixed places measured with Windows' metrics: group box captions on the
// frame line, narrow menu bar items. Elsewhere Qt's Windows style gives the same metrics.
void UseWindowsMetrics() {
    if (QApplication::style()->name().startsWith("windows", Qt::CaseInsensitive))
        return;
    if (QStyle* style = QStyleFactory::create("Windows"))
        QApplication::setStyle(style);
}

template <typename Window>
void Unload(std::unique_ptr<Window>& window) {
    if (!window)
        return;
    window->close();
    window.reset();
}

}  // namespace

InkrelayApp::InkrelayApp(Desktop& screen, std::string programDir,
                         std::function<void(int)> endProgram)
    : translator_(UseJapaneseForQt()),
      state_(std::make_unique<AppState>()),
      ui_(std::make_unique<QtUi>(*this, std::move(endProgram))),
      image_(std::make_unique<ImageWindowModel>()),
      program_{*state_, *image_, *ui_, screen, std::move(programDir)} {
    // Captions were measured in a 9 point Japanese Gothic.
    UseJapaneseGothic();
    UseWindowsMetrics();
    QApplication::setWindowIcon(ProgramIcon());
    // Only EndProgram ends the program; hiding the last window must not.
    QApplication::setQuitOnLastWindowClosed(false);
    form1_ = std::make_unique<Form1>(*this);
}

InkrelayApp::~InkrelayApp() = default;

void InkrelayApp::Start() {
    StartUp(program_);
    form1_->show();
}

Form2& InkrelayApp::ImageWindow() {
    if (!form2_)
        form2_ = std::make_unique<Form2>(program_, *form1_);
    return *form2_;
}

Dialog1& InkrelayApp::VersionDialog() {
    if (!dialog1_)
        dialog1_ = std::make_unique<Dialog1>(form1_.get());
    return *dialog1_;
}

Dialog2& InkrelayApp::OptionsDialog() {
    if (!dialog2_)
        dialog2_ = std::make_unique<Dialog2>(program_, form1_.get());
    return *dialog2_;
}

void InkrelayApp::ShowVersionDialog() {
    VersionDialog().exec();
}

void InkrelayApp::ShowOptionsDialog() {
    OptionsDialog().exec();
}

void InkrelayApp::UnloadOtherWindows() {
    // The image window's close is let through now, since Closing is set.
    Unload(form2_);
    Unload(dialog1_);
    Unload(dialog2_);
}

}  // namespace inkrelay::ui
