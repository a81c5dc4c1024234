#include "platform/settings/Settings.h"

#include "platform/errors/AppError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
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
        const Section *s = findSection(section);
        if (!s) return fallback;
        const auto it = s->index.constFind(fold(key));
        return it == s->index.constEnd() ? fallback : s->entries[*it].value;
    }

    void save(const QString &section, const QString &key, const QString &value) {
        refresh(true);
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
        write();
    }

    void remove(const QString &section, const QString &key) {
        refresh(true);
        requireReadable();
        Section *s = findSection(section);
        if (!s) return;
        const auto it = s->index.constFind(fold(key));
        if (it == s->index.constEnd()) return;
        s->entries.erase(s->entries.begin() + qsizetype(*it));
        s->index.clear();
        for (std::size_t i = 0; i < s->entries.size(); ++i) s->index.insert(fold(s->entries[i].key), i);
        write();
    }

    void invalidate() { loaded_ = false; }

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
        path_ = path;
        unreadable_ = false;
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
        const QString text = QString::fromUtf8(file.readAll());
        Section *current = nullptr;
        for (QString line : text.split(u'\n')) {
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
            if (!current || eq < 0) continue;  // a stray line carries nothing we could use
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
    }

    void requireReadable() const {
        if (unreadable_)
            throw AppError(75, kRuntimeSource,
                           QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht gelesen werden; "
                                          "sie wird nicht überschrieben.")
                               .arg(QDir::toNativeSeparators(path_)));
    }

    void write() {
        QString text;
        for (const Section &s : sections_) {
            if (s.entries.empty()) continue;
            text += QStringLiteral("[") + escape(s.name, true) + QStringLiteral("]\n");
            for (const Entry &e : s.entries) text += escape(e.key, true) + u'=' + escape(e.value, false) + u'\n';
            text += u'\n';
        }
        const QFileInfo info(path_);
        QDir().mkpath(info.absolutePath());
        QSaveFile file(path_);
        const QByteArray bytes = text.toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            loaded_ = false;  // what is in memory no longer matches the file
            throw AppError(75, kRuntimeSource,
                           QStringLiteral("Die Einstellung kann nicht in \"%1\" gespeichert werden: %2")
                               .arg(QDir::toNativeSeparators(path_), file.errorString()));
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

QList<StoredSetting> AllSettings() { return store().all(); }

}  // namespace tarnis
