#pragma once
// The progress window of the long operations: ShowWorking once before the loop,
// StepWorking once per record, HideWorking after it (and again in the error handler).
#include "platform/errors/AppError.h"

namespace tarnis {

// Opens the progress window with the bar at 0 of `maximum`. A maximum of 0 or less
// is refused with error 380 after the window is shown, so the caller's handler
// hides it and reports.
void ShowWorking(int maximum);
// Advances the bar by one; a step beyond the maximum leaves the bar full. Never throws.
void StepWorking();
// Closes the window; the next ShowWorking starts at 0. Harmless when nothing is shown.
void HideWorking();

// What the bar holds now (for the window and for tests).
struct ProgressState {
    bool loaded = false;   // a StepWorking without ShowWorking loads it hidden
    bool visible = false;
    int maximum = 100;
    int value = 0;
};
ProgressState progressState();

}  // namespace tarnis
