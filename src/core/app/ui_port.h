#pragma once
// What the core asks of the windows: message boxes, focus, the progress bar, the image window's
// visibility and display, pictures from files and the clipboard, the controls' states, one pass
// of the message loop and the program's end.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "draw/magnifier.h"
#include "image/picture.h"
#include "image/range_selection.h"
#include "image/view_geometry.h"

namespace inkrelay {

struct ControlInputs;
struct ScanPreview;
struct ControlStates;

// One entry of the open dialog's type list: the text shown and its ';'-separated patterns.
struct FileFilter {
    std::string_view Label;
    std::string_view Patterns;
};

struct ClientSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

enum class MessageIcon { Critical, Exclamation, Information, Question };

// The answers with the values the message-box function returns.
enum class MessageAnswer : int16_t { Ok = 1, Yes = 6, No = 7 };

class Ui {
  public:
    virtual ~Ui() = default;

    // A modal box titled "インクリレー" with an OK button; CR in the text is a line break.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
    // A modal box with Yes and No.
    virtual MessageAnswer AskYesNo(const std::string& text, MessageIcon icon) = 0;

    // The three things the control rules read from the windows rather than from the state.
    virtual ControlInputs ObserveControls() = 0;
    // Applies what the rules decided; a field left empty keeps the control as it is.
    virtual void ApplyControls(const ControlStates& states) = 0;

    virtual void SetProgressRange(int32_t minimum, int32_t maximum) = 0;
    virtual void SetProgressValue(int32_t value) = 0;

    virtual void ShowImageWindow() = 0;
    virtual void HideImageWindow() = 0;
    virtual void FocusMainWindow() = 0;
    // The modal open dialog with these types, the first preselected; empty when cancelled.
    virtual std::optional<std::string> ChooseOpenFile(std::span<const FileFilter> filters) = 0;
    // The platform's general picture loader; raises 53, 70 or 75 for the file, 481 for its data.
    virtual Picture LoadPicture(const std::string& path) = 0;
    // The clipboard's picture in whatever format it offers; raises 460 when it holds none.
    virtual Picture ClipboardPicture() = 0;

    // The image window's client area in pixels.
    virtual ClientSize ImageWindowClientSize() = 0;
    // Places the display at layout and shows the picture's surface from (ViewX, ViewY) in it.
    virtual void PaintImageView(const ImageViewLayout& layout, const Picture& picture) = 0;
    virtual void SetImageViewVisible(bool visible) = 0;
    // The pointer over the display.
    virtual void SetImageViewPointer(PointerShape shape) = 0;

    // The main window's preview box: its inner size, emptied, and a read's picture placed in it.
    virtual ClientSize ScanPreviewSize() = 0;
    virtual void ClearScanPreview() = 0;
    virtual void ShowScanPreview(const ScanPreview& preview) = 0;

    // The RGB bar capture's magnifier box shows this picture from its top left, clipped.
    virtual void ShowMagnifier(const MagnifierImage& image) = 0;

    // Makes the main window topmost again without moving or sizing it.
    virtual void KeepOnTop() = 0;

    // One pass of the message loop; other handlers may run inside it.
    virtual void YieldOnce() = 0;

    // Opens a document with the program the desktop associates with it; the result is ignored.
    virtual void OpenWithShell(const std::string& path) = 0;

    // Unloads the image window, the version dialog and the options dialog, in that order.
    virtual void UnloadOtherWindows() = 0;
    // Ends the program at once: no handler runs afterwards, not even one that was yielding.
    [[noreturn]] virtual void EndProgram(int exitStatus) = 0;
};

}  // namespace inkrelay
