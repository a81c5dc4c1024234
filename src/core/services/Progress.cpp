#include "core/services/Progress.h"

#include "platform/ui/Ui.h"

namespace tarnis {

namespace {
ProgressState state;
}

void ShowWorking(int maximum) {
    state = ProgressState{};
    state.loaded = true;
    state.visible = true;
    ui().showProgress(maximum > 0 ? maximum : 0);
    if (maximum <= 0)
        throw AppError(err::InvalidPropertyValue, kRuntimeSource,
                       QStringLiteral("Ungültiger Eigenschaftswert"));
    state.maximum = maximum;
}

void StepWorking() {
    try {
        if (!state.loaded) {
            // A step without ShowWorking loads the bar hidden at its default maximum.
            state = ProgressState{};
            state.loaded = true;
        }
        if (state.value >= state.maximum) return;
        ++state.value;
        if (state.visible) ui().stepProgress();
    } catch (...) {
        // the progress display never stops the operation it shows
    }
}

void HideWorking() {
    const bool wasVisible = state.visible;
    state = ProgressState{};
    if (wasVisible) ui().hideProgress();
}

ProgressState progressState() { return state; }

}  // namespace tarnis
