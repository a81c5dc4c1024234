// The scripted user interface that every test program and the season runner rely on.
// The plain information, critical and question lines are compared by the season cases.
#include "platform/ui/ScriptedUi.h"

#include <gmock/gmock.h>

using namespace tarnis;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ScriptedUiTest, MessageBoxesTakeOnlyAnswersOfTheirKind) {
    // A missing or unfitting answer cancels and fails; an unfitting one stays queued for
    // the dialog it was meant for.
    const struct { const char *queued; MsgButtons buttons; MsgAnswer expected; bool fails; } cases[] = {
        {"yes", MsgButtons::YesNo, MsgAnswer::Yes, false},  {"no", MsgButtons::YesNoCancel, MsgAnswer::No, false},
        {"ok", MsgButtons::OkCancel, MsgAnswer::Ok, false}, {nullptr, MsgButtons::YesNo, MsgAnswer::No, true},
        {nullptr, MsgButtons::YesNoCancel, MsgAnswer::Cancel, true}, {nullptr, MsgButtons::Ok, MsgAnswer::Ok, true},
        {"ok", MsgButtons::YesNo, MsgAnswer::No, true}, {"file x", MsgButtons::OkCancel, MsgAnswer::Cancel, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.queued ? c.queued : "(none)");
        ScriptedUi ui;
        if (c.queued) ui.answer(c.queued);
        EXPECT_EQ(ui.message("Frage", c.buttons, MsgIcon::Question), c.expected);
        EXPECT_EQ(ui.failures().size(), c.fails ? 1 : 0);
        EXPECT_EQ(ui.leftoverAnswers().size(), c.fails && c.queued ? 1 : 0);
    }
}

TEST(ScriptedUiTest, RecordsMessagesInTheRunnerFormat) {
    ScriptedUi ui;
    ui.setWorkFolder("/tmp/case-1/");
    for (const char *a : {"ok", "yes", "ok", "ok"})
        ui.answer(a);
    ui.message("Datei: /tmp/case-1/out.txt\r\reins\r\nzwei\ndrei", MsgButtons::Ok, MsgIcon::Exclamation);
    ui.message("Wirklich?", MsgButtons::YesNo, MsgIcon::Question, "Titel");
    ui.message("schlicht", MsgButtons::Ok, MsgIcon::None);
    ui.message("Liste", MsgButtons::Ok, MsgIcon::Exclamation, QString(), "Zeile 4\nZeile /tmp/case-1/9");
    EXPECT_EQ(ui.errorDialog({AppError(3022, "DB", "doppelt"), "Zeile:\r/tmp/case-1/a.txt", "EI_Import"}),
              ErrorChoice::Continue);
    EXPECT_THAT(ui.messages(), ElementsAre("exclamation\tDatei: <work>/out.txt\\n\\neins\\nzwei\\ndrei",
                                           "question\tWirklich?", "none\tschlicht",
                                           "exclamation\tListe\tZeile 4\\nZeile <work>/9",
                                           "error\t3022\tEI_Import\tZeile:\\n<work>/a.txt"));
    EXPECT_EQ(ui.messageTitles().at(1), "Titel");
    EXPECT_THAT(ui.failures(), IsEmpty());
    EXPECT_THAT(ui.leftoverAnswers(), IsEmpty());
}

// The plain answers of every kind are used by the season cases and the command tests;
// here what they leave out: the edges of each kind and the answers that do not fit.
TEST(ScriptedUiTest, PickerAndTextAnswersAndWhatDoesNotFit) {
    ScriptedUi ui;
    EXPECT_FALSE(ui.answer("maybe 1"));
    for (const char *a : {"file /abs/x.mdb", "file", "race 9", "race 0", "text  zwei Worte ", "text a", "file"})
        ui.answer(a);
    EXPECT_EQ(ui.openFileName({}), "/abs/x.mdb");
    EXPECT_EQ(ui.openFileName({}), QString());  // cancelled
    EXPECT_EQ(ui.pickRace(5), std::nullopt);    // race 9 is not offered
    EXPECT_EQ(ui.pickRace(5), 0);               // left without a choice
    EXPECT_EQ(ui.inputText("Name?", {}, {}), QStringLiteral(" zwei Worte "));
    EXPECT_EQ(ui.pickRace(3), std::nullopt);  // "text" does not fit the race picker
    EXPECT_THAT(ui.failures(), ElementsAre("unknown answer kind \"maybe\"", "race \"9\" is not offered (1 to 5)",
                                           "answer \"text\" does not fit the race picker"));
    EXPECT_THAT(ui.leftoverAnswers(), ElementsAre("text a", "file"));
}
