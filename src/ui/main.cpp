// The inkrelay program: the desktop of this machine, driven from the Qt windows.

#include <QApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "app/error_report.h"
#include "app/settings.h"
#include "application.h"
#include "platform_desktop.h"
#include "runtime_error.h"

namespace {

void EndProcess(int exitStatus) {
    // A handler interrupted while yielding to the message loop must never run again, so the
    // program cannot return through the event loop: buffers are flushed and the process ends.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exitStatus);
}

bool NoDisplay() {
#ifdef _WIN32
    return false;
#else
    // Checked before QApplication, which would abort without a word the user can act on.
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
           qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (NoDisplay()) {
        std::fputs(
            "インクリレー: 画面（ディスプレイ）が見つかりません。 / no display found (DISPLAY is "
            "not set)\n",
            stderr);
        return 1;
    }
    QApplication application(argc, argv);

    std::unique_ptr<inkrelay::Desktop> desktop;
    try {
        desktop = inkrelay::OpenPlatformDesktop();
    } catch (const inkrelay::RuntimeError& error) {
        const std::string reason = inkrelay::ComposeErrorMessage(error.Code()).Text;
        std::fprintf(stderr,
                     "インクリレー: 画面（ディスプレイ）を使えません: %s / cannot use the display "
                     "(%s)\n",
                     reason.c_str(), error.what());
        return 1;
    }

    // The folder of the executable itself: /proc/self/exe, so a link in /usr/bin leads to the
    // installed program's folder and its readme.
    const std::string programDir = QCoreApplication::applicationDirPath().toStdString();
    inkrelay::ui::InkrelayApp app(*desktop, programDir, EndProcess);
    app.Core().SettingsDir = inkrelay::ChooseSettingsDir(
        programDir, qgetenv("XDG_CONFIG_HOME").toStdString(), qgetenv("HOME").toStdString());
    app.Start();
    return application.exec();
}
