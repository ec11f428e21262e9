#include "app/image_display.h"

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/image_view.h"
#include "app/program.h"
#include "app/range_state.h"
#include "checked_int.h"
#include "image/range_selection.h"
#include "image/view_geometry.h"

namespace inkrelay {

namespace {

void HitTest(Program& program, int16_t x, int16_t y) {
    RunHandler(program, [&] {
        AppState& s = program.State;
        s.RangeGrip = 0;
        program.Windows.SetImageViewPointer(PointerShape::Arrow);
        const int16_t px = AddInteger(s.Coords[Coord::ViewX], x);
        const int16_t py = AddInteger(s.Coords[Coord::ViewY], y);
        s.RangeGrip = HitTestRange(px, py, StoredRange(s));
        program.Windows.SetImageViewPointer(PointerForGrip(s.RangeGrip));
    });
}

void DragTo(Program& program, int16_t x, int16_t y) {
    RunHandler(program, [&] {
        AppState& s = program.State;
        const Picture& picture = program.Image.WorkingPicture;
        ToggleRangeOutline(program);
        StoreRange(s, DragRange(s.RangeGrip, program.Image.Drag, x, y, s.Coords[Coord::ViewX],
                                s.Coords[Coord::ViewY], picture.Width(), picture.Height(),
                                StoredRange(s)));
        ToggleRangeOutline(program);
    });
}

void PanTo(Program& program, int16_t x, int16_t y) {
    RunHandler(program, [&] {
        const ImageWindowModel& image = program.Image;
        // The inner size is the display's outer size less its one-pixel frame.
        const ViewOrigin origin =
            PanView(image.Drag, x, y, image.WorkingPicture.Width(), image.WorkingPicture.Height(),
                    image.Display.Width - 2, image.Display.Height - 2);
        program.State.Coords[Coord::ViewX] = origin.ViewX;
        program.State.Coords[Coord::ViewY] = origin.ViewY;
    });
}

void PickColour(Program& program, int16_t x, int16_t y) {
    AppState& s = program.State;
    program.Windows.SetImageViewPointer(PointerShape::Arrow);
    // The display holds a plain copy of the working picture's surface from the view origin.
    const uint32_t colour = program.Image.WorkingPicture.PixelAt(
        int32_t{s.Coords[Coord::ViewX]} + x, int32_t{s.Coords[Coord::ViewY]} + y);
    s.ScanCol = static_cast<int32_t>(colour);
    UpdateControls(program);
}

void Normalise(Program& program) {
    RunHandler(program,
               [&] { StoreRange(program.State, NormaliseRange(StoredRange(program.State))); });
}

}  // namespace

void Picture1_MouseDown(Program& program, int16_t button, int16_t x, int16_t y) {
    AppState& s = program.State;
    if (s.Scanning)
        return;
    s.ImageMouseDown = true;
    DragState& drag = program.Image.Drag;
    if (button == DisplayButton::Left && !s.PickingColour) {
        const RangeSlots range = StoredRange(s);
        drag = {x, y, range.Left, range.Top, range.Right, range.Bottom};
    } else if (button == DisplayButton::Right) {
        drag.DragAnchorX = x;
        drag.DragAnchorY = y;
        drag.DragStartLeft = s.Coords[Coord::ViewX];
        drag.DragStartTop = s.Coords[Coord::ViewY];
        program.Windows.SetImageViewPointer(PointerShape::SizeAll);
    }
}

void Picture1_MouseMove(Program& program, int16_t buttons, int16_t x, int16_t y) {
    AppState& s = program.State;
    if (s.Scanning)
        return;
    if (buttons == DisplayButton::Left) {
        if (s.PickingColour || !s.ImageMouseDown)
            return;
        const DragState& drag = program.Image.Drag;
        s.RangeDragging = x != drag.DragAnchorX || y != drag.DragAnchorY;
        DragTo(program, x, y);
        UpdateControls(program);
        RefreshImageView(program);
    } else if (buttons == DisplayButton::Right) {
        PanTo(program, x, y);
        UpdateControls(program);
        RefreshImageView(program);
    } else if (s.PickingColour) {
        PickColour(program, x, y);
    } else {
        HitTest(program, x, y);
    }
}

void Picture1_MouseUp(Program& program, int16_t button, int16_t /*x*/, int16_t /*y*/) {
    AppState& s = program.State;
    if (s.Scanning)
        return;
    s.ImageMouseDown = false;
    if (button == DisplayButton::Left) {
        if (s.PickingColour) {
            s.PickingColour = false;
            UpdateControls(program);
            return;
        }
        if (s.RangeDragging) {
            s.RangeSelected = true;
            Normalise(program);
        } else {
            ClearRange(program);
        }
        s.RangeDragging = false;
        UpdateControls(program);
        RefreshImageView(program);
    } else if (button == DisplayButton::Right) {
        program.Windows.SetImageViewPointer(PointerShape::Arrow);
    }
}

void Picture1_GotFocus(Program& program) {
    AppState& s = program.State;
    if (s.Scanning)
        return;
    if (s.RangeSelected) {
        program.Image.WorkingPicture.Cls();
        ToggleRangeOutline(program);
    } else {
        ClearRange(program);
    }
    RefreshImageView(program);
}

}  // namespace inkrelay
