// The scripted user interface that every test program and the season runner rely on.
#include "platform/ui/ScriptedUi.h"

#include <gmock/gmock.h>

using namespace tarnis;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct MessageCase {
    const char *queued;  // nullptr: nothing queued
    MsgButtons buttons;
    MsgAnswer expected;
    bool fails;
};

TEST(ScriptedUiTest, MessageBoxesTakeOnlyAnswersOfTheirKind) {
    const MessageCase cases[] = {
        {"yes", MsgButtons::YesNo, MsgAnswer::Yes, false},
        {"no", MsgButtons::YesNoCancel, MsgAnswer::No, false},
        {"ok", MsgButtons::OkCancel, MsgAnswer::Ok, false},
        // missing or unfitting answers cancel and fail
        {nullptr, MsgButtons::YesNo, MsgAnswer::No, true},
        {nullptr, MsgButtons::YesNoCancel, MsgAnswer::Cancel, true},
        {nullptr, MsgButtons::Ok, MsgAnswer::Ok, true},
        {"ok", MsgButtons::YesNo, MsgAnswer::No, true},
        {"file x", MsgButtons::OkCancel, MsgAnswer::Cancel, true},
    };
    for (const MessageCase &c : cases) {
        SCOPED_TRACE(c.queued ? c.queued : "(none)");
        ScriptedUi ui;
        if (c.queued) ui.answer(QString::fromLatin1(c.queued));
        EXPECT_EQ(ui.message(QStringLiteral("Frage"), c.buttons, MsgIcon::Question), c.expected);
        EXPECT_EQ(ui.failures().size(), c.fails ? 1 : 0);
        // an unfitting answer stays queued for the dialog it was meant for
        EXPECT_EQ(ui.leftoverAnswers().size(), c.fails && c.queued ? 1 : 0);
    }
}

TEST(ScriptedUiTest, RecordsMessagesInTheRunnerFormat) {
    ScriptedUi ui;
    ui.setWorkFolder(QStringLiteral("/tmp/case-1/"));
    for (const char *a : {"ok", "ok", "yes", "ok", "ok"}) ui.answer(QString::fromLatin1(a));
    ui.message(QStringLiteral("Datei: /tmp/case-1/out.txt erfolgreich angelegt.\r\rBitte"), MsgButtons::Ok,
               MsgIcon::Information);
    ui.message(QStringLiteral("eins\r\nzwei\ndrei"), MsgButtons::Ok, MsgIcon::Critical);
    ui.message(QStringLiteral("Wirklich?"), MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("Titel"));
    ui.message(QStringLiteral("Achtung"), MsgButtons::Ok, MsgIcon::Exclamation);
    ui.message(QStringLiteral("schlicht"), MsgButtons::Ok, MsgIcon::None);
    EXPECT_EQ(ui.errorDialog({AppError(3022, QStringLiteral("DB"), QStringLiteral("doppelt")),
                              QStringLiteral("Fehler beim Import ! Zeile:\r/tmp/case-1/a.txt"),
                              QStringLiteral("EI_Import")}),
              ErrorChoice::Continue);
    EXPECT_THAT(ui.messages(),
                ElementsAre("information\tDatei: <work>/out.txt erfolgreich angelegt.\\n\\nBitte",
                            "critical\teins\\nzwei\\ndrei", "question\tWirklich?", "exclamation\tAchtung",
                            "none\tschlicht", "error\t3022\tEI_Import\tFehler beim Import ! Zeile:\\n<work>/a.txt"));
    EXPECT_EQ(ui.messageTitles().at(2), QStringLiteral("Titel"));
    EXPECT_THAT(ui.failures(), IsEmpty());
    EXPECT_THAT(ui.leftoverAnswers(), IsEmpty());
}

TEST(ScriptedUiTest, FilePickerAndTextAnswers) {
    ScriptedUi ui;
    ui.setWorkFolder(QStringLiteral("/tmp/work"));
    ui.answer(QStringLiteral("file out/list.htm"));
    ui.answer(QStringLiteral("file /abs/x.mdb"));
    ui.answer(QStringLiteral("file"));
    ui.answer(QStringLiteral("race 3"));
    ui.answer(QStringLiteral("race 9"));
    ui.answer(QStringLiteral("race 0"));
    ui.answer(QStringLiteral("class M 30"));
    ui.answer(QStringLiteral("class "));
    ui.answer(QStringLiteral("text  zwei Worte "));
    EXPECT_EQ(ui.saveFileName({QStringLiteral("Export"), {}, {}, {}}), QStringLiteral("/tmp/work/out/list.htm"));
    EXPECT_EQ(ui.openFileName({}), QStringLiteral("/abs/x.mdb"));
    EXPECT_EQ(ui.openFileName({}), QString());  // cancelled
    EXPECT_EQ(ui.pickRace(5), 3);
    EXPECT_EQ(ui.pickRace(5), std::nullopt);  // race 9 is not offered
    EXPECT_EQ(ui.pickRace(5), 0);
    EXPECT_EQ(ui.pickAgeClass({QStringLiteral("M 30"), QStringLiteral("W 30")}), QStringLiteral("M 30"));
    EXPECT_EQ(ui.pickAgeClass({QStringLiteral("M 30")}), QString());
    EXPECT_EQ(ui.inputText(QStringLiteral("Name?"), {}, {}), QStringLiteral(" zwei Worte "));
    EXPECT_EQ(ui.fileRequests().size(), 3);
    EXPECT_EQ(ui.fileRequests().first().title, QStringLiteral("Export"));
    EXPECT_THAT(ui.failures(), ElementsAre("race \"9\" is not offered (1 to 5)"));
    EXPECT_THAT(ui.messages(), IsEmpty());
}

TEST(ScriptedUiTest, ReportsUnknownAndLeftoverAnswers) {
    ScriptedUi ui;
    EXPECT_FALSE(ui.answer(QStringLiteral("maybe 1")));
    ui.answer(QStringLiteral("text a"));
    ui.answer(QStringLiteral("file"));
    EXPECT_EQ(ui.pickRace(3), std::nullopt);  // "text" does not fit the race picker
    EXPECT_THAT(ui.failures(), ElementsAre("unknown answer kind \"maybe\"",
                                           "answer \"text\" does not fit the race picker"));
    EXPECT_THAT(ui.leftoverAnswers(), ElementsAre("text a", "file"));
}

}  // namespace
