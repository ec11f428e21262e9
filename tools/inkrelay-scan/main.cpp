// inkrelay-scan: reads a picture file into a draw list with the program's own loaders and
// scanners, and prints what the list holds.

#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/error_report.h"
#include "app/picture_loading.h"
#include "app/scan_command.h"
#include "picture_reader.h"
#include "qt_colour.h"
#include "runtime_error.h"
#include "scan/draw_list_text.h"
#include "scan/read_method.h"
#include "scan_arguments.h"
#include "sim_canvas.h"

namespace {

using namespace inkrelay;
using tools::ScanArguments;

constexpr int Failed = 2;
constexpr int ListFull = 1;

// The system's messages use CR between lines; a terminal wants LF.
void PrintMessage(std::string text) {
    for (char& c : text)
        if (c == '\r')
            c = '\n';
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool WriteRender(const std::string& path, const EventMemory& mem, int32_t end, int32_t width,
                 int32_t height) {
    SimCanvas canvas(width, height);
    canvas.Replay(mem, end);
    const QImage image =
        ui::QtImage(width, height, [&canvas](int x, int y) { return canvas.PixelAt(x, y); });
    return image.save(QString::fromStdString(path), "PNG");
}

int Run(const ScanArguments& args) {
    const Picture picture = LoadPictureFile(args.Picture, ui::ReadPictureFile);
    if (picture.IsEmpty())
        throw RuntimeError(ErrorCode::InvalidPicture);
    const RangeSlots range =
        args.Range.value_or(RangeSlots{0, 0, static_cast<int16_t>(picture.Width() - 1),
                                       static_cast<int16_t>(picture.Height() - 1)});
    if (range.Right >= picture.Width() || range.Bottom >= picture.Height()) {
        std::fprintf(stderr, "inkrelay-scan: the range lies outside the %dx%d picture\n",
                     picture.Width(), picture.Height());
        return Failed;
    }
    if (RangeTooLargeToRead(range)) {
        PrintMessage(RangeTooLargeMessage);
        return Failed;
    }

    auto mem = std::make_unique<EventMemory>();
    const ScanResult result =
        ReadRange(args.Method, picture, range, args.Quality, args.LineColour, *mem);
    if (!result.Completed()) {
        PrintMessage(TooManyColoursMessage);
        return ListFull;
    }
    const int32_t end = result.EventMemEnd();
    std::printf("%s\n", EventSummaryLine(CountEvents(*mem, end), end).c_str());
    if (!args.DumpFile.empty()) {
        std::ofstream dump(args.DumpFile, std::ios::binary);
        dump << DumpEvents(*mem, end);
        if (!dump.flush()) {
            std::fprintf(stderr, "inkrelay-scan: cannot write %s\n", args.DumpFile.c_str());
            return Failed;
        }
    }
    if (!args.RenderFile.empty() &&
        !WriteRender(args.RenderFile, *mem, end, range.Right - range.Left + 1,
                     range.Bottom - range.Top + 1)) {
        std::fprintf(stderr, "inkrelay-scan: cannot write %s\n", args.RenderFile.c_str());
        return Failed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The general picture loader's format plugins come through the application object; no
    // display is needed.
    QCoreApplication application(argc, argv);
    std::string error;
    const std::vector<std::string> words(argv + 1, argv + argc);
    const auto args = tools::ParseScanArguments(words, error);
    if (!args) {
        std::fprintf(stderr, "inkrelay-scan: %s\n%s\n", error.c_str(), tools::ScanUsage);
        return Failed;
    }
    try {
        return Run(*args);
    } catch (const RuntimeError& failure) {
        PrintMessage(ComposeErrorMessage(failure.Code()).Text);
    } catch (const std::bad_alloc&) {
        PrintMessage(ComposeErrorMessage(ErrorCode::OutOfMemory).Text);
    }
    return Failed;
}
