#pragma once
// The image window's view of the working picture: layout, clamp and copy to the display.

namespace inkrelay {

class Picture;
struct Program;

// Lays the display out in the window, clamps the view origin and shows the visible block;
// errors (a side too long for 16 bits among them) are reported.
void RefreshImageView(Program& program);

void Form2_Resize(Program& program);

// A new image for the working picture: the view goes back to the top-left corner.
void ReplaceWorkingPicture(Program& program, Picture picture);

}  // namespace inkrelay
