#include "platform/settings/Settings.h"

#include "platform/errors/AppError.h"
#include "platform/files/FileUtils.h"
#include "platform/files/SafeFile.h"
#include "platform/text/CodePage.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <utility>
#include <vector>

namespace tarnis {
namespace {

struct Entry {
    QString key;  // spelling of the first write
    QString value;
};

struct Section {
    QString name;
    std::vector<Entry> entries;
    QHash<QString, std::size_t> index;  // folded key -> entry
};

// A settings file is a few kilobytes; a far larger one is not ours and is not read.
constexpr qint64 kMaxSettingsSize = 1 << 20;

// A line in UTF-8, or else in CP1252, the code page older files and hand edits use.
QString decodeLine(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? decodeCp1252(bytes) : text;
}

QString nativePath(const QString &path) { return QDir::toNativeSeparators(path); }

// Names are compared the way the user sees letters: "Groß" equals "groß", umlauts included.
QString fold(const QString &name) { return name.toCaseFolded(); }

// Backslash escapes for what would break a line of the file; everything else stays raw.
QString escape(const QString &text, bool isName) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\') out += u"\\\\";
        else if (c == u'\n') out += u"\\n";
        else if (c == u'\r') out += u"\\r";
        else if (isName && c == u'=') out += u"\\e";
        else if (isName && c == u']') out += u"\\b";
        else if (isName && i == 0 && (c == u'[' || c == u';')) out += (c == u'[') ? u"\\o" : u"\\s";
        else out += c;
    }
    return out;
}

QString unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar n = text.at(++i);
        switch (n.unicode()) {
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 'e': out += u'='; break;
        case 'b': out += u']'; break;
        case 'o': out += u'['; break;
        case 's': out += u';'; break;
        default: out += n; break;
        }
    }
    return out;
}

// Index of the first '=' that is not escaped; -1 when none.
qsizetype separatorAt(const QString &line) {
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == u'\\') ++i;
        else if (line.at(i) == u'=') return i;
    }
    return -1;
}

class Store {
public:
    QString get(const QString &section, const QString &key, const QString &fallback) {
        refresh(false);
        deliverNotice();
        const Section *s = findSection(section);
        if (!s) return fallback;
        const auto it = s->index.constFind(fold(key));
        return it == s->index.constEnd() ? fallback : s->entries[*it].value;
    }

    void save(const QString &section, const QString &key, const QString &value) {
        // Inside a batch the file is read once, at its first change; what the batch holds
        // must not be dropped because of a later check.
        if (!pending_) refresh(true);
        deliverNotice();
        requireReadable();
        Section *s = findSection(section);
        if (!s) {
            sections_.push_back(Section{section, {}, {}});
            sectionIndex_.insert(fold(section), sections_.size() - 1);
            s = &sections_.back();
        }
        const auto it = s->index.constFind(fold(key));
        if (it != s->index.constEnd()) {
            if (s->entries[*it].value == value) return;
            s->entries[*it].value = value;
        } else {
            s->entries.push_back(Entry{key, value});
            s->index.insert(fold(key), s->entries.size() - 1);
        }
        changed();
    }

    void remove(const QString &section, const QString &key) {
        if (!pending_) refresh(true);
        deliverNotice();
        requireReadable();
        Section *s = findSection(section);
        if (!s) return;
        const auto it = s->index.constFind(fold(key));
        if (it == s->index.constEnd()) return;
        s->entries.erase(s->entries.begin() + qsizetype(*it));
        s->index.clear();
        for (std::size_t i = 0; i < s->entries.size(); ++i) s->index.insert(fold(s->entries[i].key), i);
        changed();
    }

    void invalidate() { loaded_ = false; }

    void beginBatch() {
        if (batchDepth_++ == 0) pending_ = false;
    }

    // The outermost end writes what the batch changed, once; a batch that was not
    // committed, or whose write failed, leaves the store as the file holds it.
    void endBatch(bool commit) {
        if (--batchDepth_ > 0) {
            if (!commit) abandoned_ = true;
            return;
        }
        const bool pending = std::exchange(pending_, false);
        const bool abandoned = std::exchange(abandoned_, false) || !commit;
        if (!pending) return;
        if (abandoned) {
            loaded_ = false;
            return;
        }
        write();
    }

    QList<StoredSetting> all() {
        refresh(true);
        QList<StoredSetting> out;
        for (const Section &s : sections_)
            for (const Entry &e : s.entries) out.append({s.name, e.key, e.value});
        return out;
    }

private:
    Section *findSection(const QString &name) {
        const auto it = sectionIndex_.constFind(fold(name));
        return it == sectionIndex_.constEnd() ? nullptr : &sections_[*it];
    }

    // Reads the file again when its place changed (tests and the season runner change
    // the folder between cases). Before a write the file itself is checked as well, so
    // that a change made by another writer is never overwritten with stale data; reads
    // skip that check because some callers read a setting once per participant.
    void refresh(bool checkDisk) {
        const QString path = settingsFilePath();
        if (loaded_ && !unreadable_ && !checkDisk && path == path_) return;
        const QFileInfo info(path);
        const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
        const qint64 size = info.exists() ? info.size() : -1;
        if (loaded_ && !unreadable_ && path == path_ && stamp == stamp_ && size == size_) return;
        load(path);
    }

    void load(const QString &path) {
        sections_.clear();
        sectionIndex_.clear();
        if (path != path_) notice_.clear();
        path_ = path;
        unreadable_ = false;
        damaged_ = false;
        loaded_ = true;
        QFile file(path);
        const QFileInfo info(path);
        stamp_ = info.exists() ? info.lastModified() : QDateTime();
        size_ = info.exists() ? info.size() : -1;
        if (!info.exists()) return;
        if (!file.open(QIODevice::ReadOnly)) {
            unreadable_ = true;
            return;
        }
        if (file.size() > kMaxSettingsSize) {
            damaged_ = true;
            tellOnce(QStringLiteral("Die Einstellungsdatei \"%1\" ist größer als 1 MB und wurde nicht gelesen; "
                                    "es gelten die voreingestellten Werte.\rSie wird vor dem nächsten Speichern "
                                    "als \"%2\" aufbewahrt.")
                         .arg(nativePath(path), nativePath(backupPath())));
            return;
        }
        QByteArray bytes = file.readAll();
        if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
        Section *current = nullptr;
        int lineNumber = 0, firstBadLine = 0;
        for (const QByteArray &raw : bytes.split('\n')) {
            ++lineNumber;
            QString line = decodeLine(raw);
            if (line.endsWith(u'\r')) line.chop(1);
            if (line.isEmpty() || line.startsWith(u';')) continue;
            if (line.startsWith(u'[') && line.endsWith(u']')) {
                const QString name = unescape(QStringView(line).mid(1, line.size() - 2));
                current = findSection(name);
                if (!current) {
                    sections_.push_back(Section{name, {}, {}});
                    sectionIndex_.insert(fold(name), sections_.size() - 1);
                    current = &sections_.back();
                }
                continue;
            }
            const qsizetype eq = separatorAt(line);
            if (!current || eq < 0) {
                // A stray line carries nothing we could use, but the file is kept before it is rewritten.
                if (!firstBadLine) firstBadLine = lineNumber;
                continue;
            }
            const QString key = unescape(QStringView(line).left(eq));
            const QString value = unescape(QStringView(line).mid(eq + 1));
            const auto it = current->index.constFind(fold(key));
            if (it != current->index.constEnd()) {
                current->entries[*it].value = value;
            } else {
                current->entries.push_back(Entry{key, value});
                current->index.insert(fold(key), current->entries.size() - 1);
            }
        }
        if (firstBadLine) {
            damaged_ = true;
            tellOnce(QStringLiteral("Die Einstellungsdatei \"%1\" enthält Zeilen, die nicht gelesen werden können "
                                    "(zuerst Zeile %2).\rSie wird vor dem nächsten Speichern als \"%3\" aufbewahrt.")
                         .arg(nativePath(path))
                         .arg(firstBadLine)
                         .arg(nativePath(backupPath())));
        }
    }

    QString backupPath() const { return path_ + QStringLiteral(".bak"); }

    // The user hears of a damaged file once, as soon as a window can tell it; reading the
    // same unchanged file again tells nothing new.
    void tellOnce(const QString &text) {
        const QString file = path_ + u'|' + QString::number(size_) + u'|' + stamp_.toString(Qt::ISODateWithMs);
        if (told_.contains(file)) return;
        told_.insert(file);
        notice_ = text;
        deliverNotice();
    }

    void deliverNotice() {
        if (notice_.isEmpty() || !uiAvailable()) return;
        const QString text = notice_;
        notice_.clear();
        ui().message(text, MsgButtons::Ok, MsgIcon::Exclamation);
    }

    // A file with lines that could not be read is kept before the first rewrite drops them.
    void keepDamagedFile() {
        if (!damaged_ || !QFileInfo::exists(path_)) return;
        if (!CopyFileOver(path_, backupPath(), true)) {
            loaded_ = false;
            throw AppError(err::PathFileAccess, kRuntimeSource,
                           QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht als \"%2\" aufbewahrt werden; "
                                          "sie wird nicht überschrieben.")
                               .arg(nativePath(path_), nativePath(backupPath())));
        }
        damaged_ = false;
    }

    void requireReadable() const {
        if (unreadable_)
            throw AppError(err::PathFileAccess, kRuntimeSource,
                           QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht gelesen werden; "
                                          "sie wird nicht überschrieben.")
                               .arg(QDir::toNativeSeparators(path_)));
    }

    void changed() {
        if (batchDepth_ > 0) pending_ = true;
        else write();
    }

    void write() {
        QString text;
        for (const Section &s : sections_) {
            if (s.entries.empty()) continue;
            text += QStringLiteral("[") + escape(s.name, true) + QStringLiteral("]\n");
            for (const Entry &e : s.entries) text += escape(e.key, true) + u'=' + escape(e.value, false) + u'\n';
            text += u'\n';
        }
        keepDamagedFile();
        const QFileInfo info(path_);
        QDir().mkpath(info.absolutePath());
        QString error;
        if (!writeFileSafely(path_, text.toUtf8(), &error)) {
            loaded_ = false;  // what is in memory no longer matches the file
            throw AppError(err::PathFileAccess, kRuntimeSource,
                           QStringLiteral("Die Einstellung kann nicht in \"%1\" gespeichert werden: %2")
                               .arg(nativePath(path_), error));
        }
        const QFileInfo written(path_);
        stamp_ = written.lastModified();
        size_ = written.size();
    }

    std::vector<Section> sections_;
    QHash<QString, std::size_t> sectionIndex_;
    QString path_;
    QDateTime stamp_;
    qint64 size_ = -1;
    bool loaded_ = false;
    bool unreadable_ = false;
    bool damaged_ = false;   // lines not read, or not read at all: keep a copy before rewriting
    int batchDepth_ = 0;
    bool pending_ = false;    // a batch changed the store and the file does not hold it yet
    bool abandoned_ = false;  // an inner batch was given up: the whole batch is
    QString notice_;         // not yet told
    QSet<QString> told_;     // files the user has heard about
};

Store &store() {
    static Store instance;
    return instance;
}

}  // namespace

QString settingsFilePath() {
    QString dir = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (dir.isEmpty()) dir = QDir::homePath() + QStringLiteral("/.config");
    return dir + u'/' + kAppTitle + QStringLiteral(".ini");
}

void reloadSettings() { store().invalidate(); }

QString GetSetting(const QString &section, const QString &key, const QString &fallback) {
    return store().get(section, key, fallback);
}

void SaveSetting(const QString &section, const QString &key, const QString &value) {
    store().save(section, key, value);
}

void DeleteSetting(const QString &section, const QString &key) { store().remove(section, key); }

SettingsBatch::SettingsBatch() { store().beginBatch(); }

SettingsBatch::~SettingsBatch() {
    if (!ended_) store().endBatch(false);
}

void SettingsBatch::commit() {
    ended_ = true;
    store().endBatch(true);
}

QList<StoredSetting> AllSettings() { return store().all(); }

namespace {

template <typename Convert>
auto convertSetting(const QString &section, const QString &key, const QString &fallback, Convert convert) {
    const QString value = GetSetting(section, key, fallback);
    try {
        return convert(value);
    } catch (const AppError &e) {
        throw settingError(e, section, key, value);
    }
}

}  // namespace

AppError settingError(const AppError &error, const QString &section, const QString &key, const QString &value) {
    return AppError(error.number, error.source,
                    QStringLiteral("%1 (Einstellung \"%2\" im Abschnitt \"%3\": \"%4\")")
                        .arg(error.description, key, section, value));
}

std::int32_t GetSettingLong(const QString &section, const QString &key, const QString &fallback) {
    return convertSetting(section, key, fallback, [](const QString &v) { return textrules::CLng(v); });
}

bool GetSettingBool(const QString &section, const QString &key, const QString &fallback) {
    return convertSetting(section, key, fallback, [](const QString &v) { return textrules::CBool(v); });
}

QString GetSettingOrDefault(const QString &section, const QString &key, const QString &fallback) {
    const QString value = GetSetting(section, key);
    return textrules::Trim(value).isEmpty() ? fallback : value;
}

std::int32_t GetSettingLongOrDefault(const QString &section, const QString &key, std::int32_t fallback) {
    if (textrules::Trim(GetSetting(section, key)).isEmpty()) return fallback;
    return GetSettingLong(section, key, QString());
}

bool GetSettingBoolOrDefault(const QString &section, const QString &key, bool fallback) {
    if (textrules::Trim(GetSetting(section, key)).isEmpty()) return fallback;
    return GetSettingBool(section, key, QString());
}

}  // namespace tarnis
