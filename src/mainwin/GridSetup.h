#pragma once
// The participant grid's column state and style, kept apart from the view so that
// hidden columns keep their widths and a change of the record source keeps the setup.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tarnis {

enum class ColumnAlign { Left, Center };

// The grid's own width for a column the setup leaves alone (100 px at 96 dpi).
constexpr int kDefaultColumnWidth = 1500;

struct GridColumn {
    QString field;      // the Teilnehmer field the column shows
    QString caption;
    int width = kDefaultColumnWidth;  // twips
    ColumnAlign align = ColumnAlign::Left;
    bool hidden = false;
};

// Makes the state hold one column per field, in field order. Columns whose field
// stayed in place keep their state; new ones show the field name at the default
// width. True when the list of fields changed.
bool MatchColumnsToFields(std::vector<GridColumn> &columns, const QStringList &fields);

// SetupGrid without the view: captions, widths, alignment and visibility from
// LastUser/Modus, LastUser/SizeOfGridCol<n> and Grid/ColWith<i>, Grid/Caption<n>.
// Returns the number of race points columns. A stored width that is no number
// raises 13.
int SetupGridColumns(std::vector<GridColumn> &columns);

// The grid style of section Grid, read in the order the keys are listed.
struct GridStyle {
    QString headFontName;
    double headFontSize = 8;
    int head3D = 3;        // 0 none, 1 raised light, 2 raised heavy, 3 inset light, 4 inset heavy
    QString fontName;
    double fontSize = 8;
    std::int64_t backColor = 0;
    std::int64_t backColorEven = 0;
    std::int64_t backColorOdd = 0;
    std::int64_t foreColor = 0;
    std::int64_t foreColorEven = 0;
    std::int64_t foreColorOdd = 0;
};
// Raises 13 for a size, style or colour that is no number.
GridStyle ReadGridStyle();

// A setting read as a number the way a control converts it: a text that is no
// number raises 13 naming the setting.
double SettingNumber(const QString &section, const QString &key, const QString &fallback);

}  // namespace tarnis
