#pragma once
// Where the practice window puts the applet's parts, and the model's options from the command
// line.

#include <QColor>
#include <QRect>
#include <QSize>

#include "practice_arguments.h"
#include "sim_applet.h"

namespace inkrelay::practice {

// Around the canvas and the bars, and under the hint.
inline constexpr QRgb Background = qRgb(0xD4, 0xD0, 0xC8);

struct PracticeSetup {
    SimAppletOptions Options;
    QRect Swatch;  // the current colour, under the bars where the model never paints
    QSize Surface;
};

// The canvas at the top left, the bars to its right with room for the levels left of the
// captured point, the swatch under the bars. The browser applets (4 and 5) get their taller bars,
// the alpha bar, the pointer mark, frames and merged moves. The model's PaintLag counts Tick()s,
// which the window gives once a millisecond, so the lag is in milliseconds as it stands.
PracticeSetup SetUp(const PracticeArguments& args);

}  // namespace inkrelay::practice
