// The note window that shows the import's line counter.
#include "core/import/forms/frmImport.h"
#include "platform/settings/Settings.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace tarnis;

TEST(ImportNoteWindow, ShowsTheLineJustProcessedAndGoesAway) {
    QWidget mainWindow;
    showImportNoteWindow(&mainWindow);
    frmImport *note = importNoteWindow();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->parentWidget(), &mainWindow);
    EXPECT_TRUE(note->isVisible());
    EXPECT_FALSE(note->isModal());
    EXPECT_EQ(note->windowTitle(), kAppTitle);
    EXPECT_EQ(note->lblInfo->text(), QStringLiteral("Import läuft..."));
    setImportNoteWindowLine(7);
    setImportNoteWindowLine(40000);
    EXPECT_EQ(note->lblInfo->text(), QStringLiteral("Import läuft ... 40000"));
    hideImportNoteWindow();
    EXPECT_EQ(importNoteWindow(), nullptr);
    setImportNoteWindowLine(8);  // harmless once the window is gone
    hideImportNoteWindow();
}
