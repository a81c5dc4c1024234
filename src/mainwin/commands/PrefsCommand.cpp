#include "mainwin/commands/PrefsCommand.h"

namespace tarnis {

void mnuVoreinstellungen(MainWindowApi &window) {
    if (window.previewVisible()) window.closePreview();
    window.showPreferencesDialog();
    // The dialog may have changed the database path and any setting the window reads.
    window.Form_Load();
}

}  // namespace tarnis
