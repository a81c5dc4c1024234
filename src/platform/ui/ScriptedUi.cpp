#include "platform/ui/ScriptedUi.h"

#include <QDir>

namespace tarnis {

namespace {

const char *const kKinds[] = {"yes", "no", "ok", "file", "race", "class", "text",
                              "colour", "font", "prefs"};

QString iconWord(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information: return QStringLiteral("information");
    case MsgIcon::Question: return QStringLiteral("question");
    case MsgIcon::Critical: return QStringLiteral("critical");
    case MsgIcon::Exclamation: return QStringLiteral("exclamation");
    case MsgIcon::None: break;
    }
    return QStringLiteral("none");
}

}  // namespace

bool ScriptedUi::answer(const QString &line) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0) return answer(line, QString());
    return answer(line.left(blank), line.mid(blank + 1));
}

bool ScriptedUi::answer(const QString &kind, const QString &value) {
    for (const char *known : kKinds) {
        if (kind == QLatin1String(known)) {
            queue_.push_back({kind, value});
            return true;
        }
    }
    failures_ << QStringLiteral("unknown answer kind \"%1\"").arg(kind);
    return false;
}

void ScriptedUi::setWorkFolder(const QString &path) { workFolder_ = QDir::cleanPath(path); }

QStringList ScriptedUi::leftoverAnswers() const {
    QStringList out;
    for (const Answer &a : queue_) out << (a.value.isEmpty() ? a.kind : a.kind + QLatin1Char(' ') + a.value);
    return out;
}

void ScriptedUi::clearRecords() {
    messages_.clear();
    titles_.clear();
    failures_.clear();
    progress_.clear();
    reports_.clear();
    fileRequests_.clear();
    colourPresets_.clear();
    fontPresets_.clear();
    endCalls_ = 0;
}

std::optional<ScriptedUi::Answer> ScriptedUi::take(std::initializer_list<const char *> kinds,
                                                   const QString &dialog) {
    if (queue_.empty()) {
        failures_ << QStringLiteral("no answer queued for %1").arg(dialog);
        return std::nullopt;
    }
    const Answer &next = queue_.front();
    for (const char *kind : kinds) {
        if (next.kind == QLatin1String(kind)) {
            Answer a = next;
            queue_.pop_front();
            return a;
        }
    }
    // The unfitting answer stays queued for the dialog it was meant for.
    failures_ << QStringLiteral("answer \"%1\" does not fit %2").arg(next.kind, dialog);
    return std::nullopt;
}

QString ScriptedUi::recordLine(const QString &text) const {
    QString line = text;
    if (!workFolder_.isEmpty()) line.replace(workFolder_, QStringLiteral("<work>"));
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    line.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return line;
}

MsgAnswer ScriptedUi::message(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                              const QString &details) {
    // the details, when there are any, after a second tab
    messages_ << iconWord(icon) + QLatin1Char('\t') + recordLine(text)
                     + (details.isEmpty() ? QString() : QLatin1Char('\t') + recordLine(details));
    titles_ << title;
    const QString what = QStringLiteral("the message \"%1\"").arg(recordLine(text));
    switch (buttons) {
    case MsgButtons::Ok:
        take({"ok"}, what);
        return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
        return take({"ok"}, what) ? MsgAnswer::Ok : MsgAnswer::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: {
        const auto a = take({"yes", "no"}, what);
        if (!a) return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
        return a->kind == QLatin1String("yes") ? MsgAnswer::Yes : MsgAnswer::No;
    }
    }
    return MsgAnswer::Cancel;
}

QString ScriptedUi::fileAnswer(const FileDialogRequest &request, const char *dialog) {
    fileRequests_ << request;
    const auto a = take({"file"}, QStringLiteral("the %1 dialog \"%2\"").arg(QLatin1String(dialog), request.title));
    if (!a || a->value.isEmpty()) return QString();
    // A real file dialog returns an absolute path.
    return workFolder_.isEmpty() ? a->value : QDir(workFolder_).absoluteFilePath(a->value);
}

QString ScriptedUi::openFileName(const FileDialogRequest &request) { return fileAnswer(request, "open"); }

QString ScriptedUi::saveFileName(const FileDialogRequest &request) { return fileAnswer(request, "save"); }

std::optional<int> ScriptedUi::pickRace(int maxRace) {
    const auto a = take({"race"}, QStringLiteral("the race picker"));
    if (!a || a->value.trimmed().isEmpty()) return std::nullopt;
    bool ok = false;
    const int race = a->value.trimmed().toInt(&ok);
    // 0 is "Weiter" without a choice
    if (!ok || race < 0 || race > maxRace) {
        failures_ << QStringLiteral("race \"%1\" is not offered (1 to %2)").arg(a->value).arg(maxRace);
        return std::nullopt;
    }
    return race;
}

std::optional<QString> ScriptedUi::pickAgeClass(const QStringList &classes) {
    const auto a = take({"class"}, QStringLiteral("the age-class picker"));
    if (!a) return std::nullopt;
    if (!a->value.isEmpty() && !classes.contains(a->value)) {
        failures_ << QStringLiteral("class \"%1\" is not offered").arg(a->value);
        return std::nullopt;
    }
    return a->value;
}

std::optional<QString> ScriptedUi::inputText(const QString &prompt, const QString &, const QString &) {
    const auto a = take({"text"}, QStringLiteral("the input \"%1\"").arg(recordLine(prompt)));
    if (!a) return std::nullopt;
    return a->value;
}

std::optional<quint32> ScriptedUi::chooseColour(quint32 preset) {
    colourPresets_ << preset;
    const auto a = take({"colour"}, QStringLiteral("the colour dialog"));
    if (!a || a->value.trimmed().isEmpty()) return std::nullopt;
    bool ok = false;
    const quint32 colour = a->value.trimmed().toUInt(&ok);
    if (!ok) {
        failures_ << QStringLiteral("colour \"%1\" is no number").arg(a->value);
        return std::nullopt;
    }
    return colour;
}

std::optional<FontChoice> ScriptedUi::chooseFont(const FontChoice &preset) {
    fontPresets_ << preset;
    const auto a = take({"font"}, QStringLiteral("the font dialog"));
    if (!a || a->value.trimmed().isEmpty()) return std::nullopt;
    // "name|size|bold": size and bold may be left out.
    const QStringList parts = a->value.split(QLatin1Char('|'));
    FontChoice font{parts.value(0).trimmed(), preset.size, false};
    if (parts.size() > 1) {
        bool ok = false;
        font.size = parts[1].trimmed().toDouble(&ok);
        if (!ok) {
            failures_ << QStringLiteral("font size \"%1\" is no number").arg(parts[1]);
            return std::nullopt;
        }
    }
    font.bold = parts.value(2).trimmed() == QLatin1String("bold");
    return font;
}

bool ScriptedUi::drivePreferences(const std::function<bool(int)> &click) {
    const auto a = take({"prefs"}, QStringLiteral("the preferences dialog"));
    if (!a) return true;  // the dialog closes itself; the failure fails the case
    const QStringList tools = a->value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    bool open = true;
    for (const QString &tool : tools) {
        const QString t = tool.trimmed();
        if (!open) {
            failures_ << QStringLiteral("prefs \"%1\": tool %2 after the dialog had closed").arg(a->value, t);
            return true;
        }
        bool ok = t == QLatin1String("close");
        const int id = ok ? 0 : t.toInt(&ok);
        if (!ok || (t != QLatin1String("close") && id <= 0)) {
            failures_ << QStringLiteral("prefs \"%1\": \"%2\" is no tool").arg(a->value, t);
            return true;
        }
        open = click(id);
    }
    if (open) failures_ << QStringLiteral("prefs \"%1\" left the preferences dialog open").arg(a->value);
    return true;
}

ErrorChoice ScriptedUi::errorDialog(const ErrorReport &report) {
    reports_ << report;
    titles_ << QString();
    messages_ << QStringLiteral("error\t%1\t%2\t%3")
                     .arg(report.error.number)
                     .arg(recordLine(report.procedure), recordLine(report.hint));
    return errorChoice_;
}

void ScriptedUi::showProgress(int maximum) {
    progressMax_ = maximum;
    progressValue_ = 0;
    progress_ << QStringLiteral("show %1").arg(maximum);
}

void ScriptedUi::stepProgress() {
    if (progressValue_ < progressMax_) ++progressValue_;
    progress_ << QStringLiteral("step %1").arg(progressValue_);
}

void ScriptedUi::hideProgress() { progress_ << QStringLiteral("hide"); }

}  // namespace tarnis
