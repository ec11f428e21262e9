#include "app/image_view.h"

#include <utility>

#include "app/error_report.h"
#include "app/program.h"
#include "image/view_geometry.h"

namespace inkrelay {

void RefreshImageView(Program& program) {
    RunHandler(program, [&] {
        AppState& s = program.State;
        ImageWindowModel& image = program.Image;
        const ClientSize client = program.Windows.ImageWindowClientSize();
        const ImageViewLayout layout = LayOutImageView(
            client.Width, client.Height, image.WorkingPicture.Width(),
            image.WorkingPicture.Height(), s.Coords[Coord::ViewX], s.Coords[Coord::ViewY]);
        image.Display = layout;
        program.Windows.SetImageViewVisible(s.ImageLoaded);
        s.Coords[Coord::ViewX] = layout.ViewX;
        s.Coords[Coord::ViewY] = layout.ViewY;
        program.Windows.PaintImageView(layout, image.WorkingPicture);
    });
}

void Form2_Resize(Program& program) {
    RefreshImageView(program);
}

void ReplaceWorkingPicture(Program& program, Picture picture) {
    program.Image.WorkingPicture = std::move(picture);
    program.State.Coords[Coord::ViewX] = 0;
    program.State.Coords[Coord::ViewY] = 0;
    RefreshImageView(program);
}

}  // namespace inkrelay
