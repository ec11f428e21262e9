// practice-applet: the simulated applet in a window of its own, to practise on and to draw into
// from end-to-end tests.

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "practice_arguments.h"
#include "practice_setup.h"
#include "practice_window.h"
#include "qt_colour.h"
#include "termination_signal.h"

namespace {

using namespace inkrelay;
using namespace inkrelay::practice;

bool WriteCanvas(const SimApplet& applet, const std::string& path) {
    const AppletPlace& place = applet.Options().Place;
    const std::vector<uint32_t> pixels = applet.CanvasPixels();
    const int width = place.CanvasWidth;
    const QImage image = ui::QtImage(width, place.CanvasHeight, [&pixels, width](int x, int y) {
        return pixels[static_cast<size_t>(y * width + x)];
    });
    return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    // Checked before QApplication, so bad arguments are reported without a display.
    std::string error;
    const auto args =
        ParsePracticeArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!args) {
        std::fputs(ArgumentFault(error).c_str(), stderr);
        return BadArgumentsStatus;
    }
    try {
        // One image pixel must be one screen pixel, whatever the screen's scale.
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        qunsetenv("QT_SCALE_FACTOR");
        qunsetenv("QT_SCREEN_SCALE_FACTORS");
        // Qt's own options are not taken: the command line is the applet's.
        int qtArgc = 1;
        QApplication application(qtArgc, argv);
        // Merged pointer moves would turn a dragged corner into a diagonal: every move goes to the
        // model, as a real applet gets them. Set after QApplication, which turns it on.
        QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
        TerminationSignal termination;
        QObject::connect(&termination, &TerminationSignal::Received, &application,
                         &QCoreApplication::quit);

        PracticeWindow window(SetUp(*args));
        window.show();
        const int status = QApplication::exec();
        if (status != 0)
            return status;
        if (!args->DumpFile.empty() && !WriteCanvas(window.Applet(), args->DumpFile)) {
            std::fprintf(stderr, "practice-applet: cannot write %s\n", args->DumpFile.c_str());
            return FailedStatus;
        }
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "practice-applet: %s\n", failure.what());
    }
    return FailedStatus;
}
