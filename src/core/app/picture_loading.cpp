#include "app/picture_loading.h"

#include <new>
#include <utility>

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/image_view.h"
#include "app/picture_loading_role.h"
#include "app/program.h"
#include "image/picture_limits.h"
#include "runtime_error.h"

namespace inkrelay {

namespace {

// A step that fails leaves its code for the final look and lets the steps after it run.
template <typename Step>
void Attempt(int32_t& pending, Step&& step) {
    try {
        step();
    } catch (const RuntimeError& error) {
        if (pending == 0)
            pending = error.Code();
    } catch (const std::bad_alloc&) {
        if (pending == 0)
            pending = ErrorCode::OutOfMemory;
    }
}

void DropRangeAndHideDisplay(Program& program, int32_t& pending) {
    Attempt(pending, [&] {
        program.State.RangeSelected = false;
        program.Windows.SetImageViewVisible(false);
    });
}

// The working picture changes only for a picture the window can lay out.
Picture Acceptable(Picture picture) {
    if (PictureSideRefused(picture.Width(), picture.Height()))
        throw RuntimeError(ErrorCode::InvalidPicture);
    return picture;
}

// What a load attempt puts aside before it starts, so that a failed one loses nothing.
struct BeforeLoad {
    bool RangeSelected;
    bool DisplayVisible;
};

BeforeLoad Remember(const Program& program) {
    return {program.State.RangeSelected, program.State.ImageLoaded};
}

void FinishLoad(Program& program, int32_t pending, const BeforeLoad& before) {
    if (pending != 0) {
        // The previous picture stays, and with it its range and its display.
        program.State.RangeSelected = before.RangeSelected;
        Attempt(pending, [&] { program.Windows.SetImageViewVisible(before.DisplayVisible); });
        ReportError(program, pending);
        return;
    }
    program.State.ImageLoaded = true;
    program.Windows.SetImageViewVisible(true);
    program.Windows.ShowImageWindow();
    program.Windows.FocusMainWindow();
    UpdateControls(program);
}

}  // namespace

Picture LoadPictureFile(const std::string& path, const GeneralPictureLoader& generalLoader) {
    return Acceptable(DecodePictureFile(path, generalLoader));
}

void File_Open_Click(Program& program) {
    std::optional<std::string> path;
    int32_t pending = 0;
    Attempt(pending, [&] { path = program.Windows.ChooseOpenFile(PictureFileFilters); });
    if (pending == 0 && (!path || path->empty()))
        return;
    const BeforeLoad before = Remember(program);
    DropRangeAndHideDisplay(program, pending);
    if (path && !path->empty()) {
        Attempt(pending, [&] {
            ReplaceWorkingPicture(program, LoadPictureFile(*path, [&](const std::string& general) {
                                      return program.Windows.LoadPicture(general);
                                  }));
        });
    }
    FinishLoad(program, pending, before);
}

void Edit_Paste_Click(Program& program) {
    int32_t pending = 0;
    const BeforeLoad before = Remember(program);
    DropRangeAndHideDisplay(program, pending);
    Attempt(pending, [&] {
        ReplaceWorkingPicture(program, Acceptable(program.Windows.ClipboardPicture()));
    });
    FinishLoad(program, pending, before);
}

}  // namespace inkrelay
