#pragma once
// The preferences dialog over a three-race series with a fresh settings store.
#include "core/import_support.h"
#include "prefs/forms/frmGrundEinst.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>

namespace tarnis::testing {

// Types the text key by key, as the user would.
inline void keyClicks(QWidget *target, const QString &text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &release);
    }
}

class PrefsDialogTest : public SeriesTest {
protected:
    void SetUp() override {
        SeriesTest::SetUp();
        qputenv("TARNIS_PROGRAM_DIR", "/tarnis");
        openSeries(3);
    }
    void TearDown() override {
        qunsetenv("TARNIS_PROGRAM_DIR");
        SeriesTest::TearDown();
    }
    // Every stored setting as "Section<TAB>Key<TAB>Value", in the file's order.
    static QStringList listing() {
        QStringList out;
        for (const StoredSetting &s : AllSettings()) out << s.section + '\t' + s.key + '\t' + s.value;
        return out;
    }
    static QStringList expectedFile(const QString &name) {
        QFile f(QDir(QStringLiteral(TARNIS_TEST_DATA)).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("missing ") + name};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }
    // Writes a listing into the store.
    static void store(const QStringList &lines) {
        for (const QString &line : lines) {
            const QStringList parts = line.split('\t');
            SaveSetting(parts.value(0), parts.value(1), parts.value(2));
        }
    }
    template <typename T>
    T *child(prefs::frmGrundEinst &dialog, const QString &name) {
        T *w = dialog.findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
};

}  // namespace tarnis::testing
