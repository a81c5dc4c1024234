#include "mainwin/GridSetup.h"

#include "platform/errors/AppError.h"
#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"

#include <cmath>

namespace tarnis {

bool MatchColumnsToFields(std::vector<GridColumn> &columns, const QStringList &fields) {
    bool changed = int(columns.size()) != fields.size();
    std::vector<GridColumn> next;
    next.reserve(fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        if (i < int(columns.size()) && columns[i].field == fields[i]) {
            next.push_back(columns[i]);
            continue;
        }
        changed = true;
        GridColumn c;
        c.field = fields[i];
        c.caption = fields[i];
        next.push_back(c);
    }
    columns = std::move(next);
    return changed;
}

namespace {

int widthSetting(BadSettings &bad, const QString &section, const QString &key, int fallback) {
    return SettingOr(&bad, fallback, [&] {
        return int(std::nearbyint(SettingNumberWithin(section, key, QString::number(fallback), 2147483647.0)));
    });
}

void fixed(GridColumn &c, const char *caption, ColumnAlign align) {
    c.caption = QString::fromUtf8(caption);
    c.align = align;
    c.hidden = false;
}

}  // namespace

int SetupGridColumns(std::vector<GridColumn> &columns, BadSettings &bad) {
    const QString lastUser = QStringLiteral("LastUser"), grid = QStringLiteral("Grid");
    const bool pointsMode = GetSetting(lastUser, QStringLiteral("Modus"), QStringLiteral("P")) == u"P";
    int races = 0;
    for (int i = 0; i < int(columns.size()); ++i) {
        GridColumn &c = columns[i];
        c.setUp = true;
        switch (i) {
        case 0: fixed(c, "Name", ColumnAlign::Left);
            c.width = widthSetting(bad, lastUser, QStringLiteral("SizeOfGridCol0"), 2000); continue;
        case 1: fixed(c, "Vorname", ColumnAlign::Left);
            c.width = widthSetting(bad, lastUser, QStringLiteral("SizeOfGridCol1"), 2000); continue;
        case 2: fixed(c, "JG", ColumnAlign::Center); continue;
        case 3: fixed(c, "Altersklasse", ColumnAlign::Left);
            c.width = widthSetting(bad, lastUser, QStringLiteral("SizeOfGridCol3"), 2000); continue;
        case 4: fixed(c, "Verein", ColumnAlign::Left);
            c.width = widthSetting(bad, lastUser, QStringLiteral("SizeOfGridCol4"), 2000); continue;
        case 5: fixed(c, "EW", ColumnAlign::Center); c.width = 600; continue;
        case 6: fixed(c, "ZW", ColumnAlign::Center); c.width = 600; continue;
        default: break;
        }
        const QString colKey = QStringLiteral("ColWith%1").arg(i);
        if (c.field.contains(u"Punkte")) {
            c.align = ColumnAlign::Center;
            ++races;
            c.width = widthSetting(bad, grid, colKey, 600);
            c.caption = GetSetting(grid, QStringLiteral("Caption%1").arg(races), QString::number(races));
            c.hidden = !pointsMode;
        } else if (c.field.contains(u"Zeit")) {
            c.align = ColumnAlign::Center;
            c.width = widthSetting(bad, grid, colKey, 600);
            c.caption = GetSetting(grid, QStringLiteral("Caption%1").arg(races), QString::number(races));
            c.hidden = pointsMode;
        } else {
            c.caption = QStringLiteral("***");
            c.hidden = true;
        }
    }
    return races;
}

}  // namespace tarnis
