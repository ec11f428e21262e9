#pragma once
// The program's icon, drawn at run time so that no image file has to travel with the program.

#include <QIcon>
#include <QPixmap>

namespace inkrelay::ui {

// The icon at one size in pixels.
QPixmap ProgramIconPixmap(int size);
// The 16 and 32 pixel versions together, for title bars and task bars.
QIcon ProgramIcon();

}  // namespace inkrelay::ui
