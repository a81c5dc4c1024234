#pragma once
// The real keyboard state for IsCtrlDown and IsShiftDown.
namespace tarnis {

// Lets the logic side ask the window system which modifier keys are held; call once
// after the QApplication exists.
void installKeyStateQuery();

}  // namespace tarnis
