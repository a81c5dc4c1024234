#pragma once
// The participant grid's column state and style, kept apart from the view so that
// hidden columns keep their widths and a change of the record source keeps the setup.
#include "core/services/GridStyle.h"

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
    // Set by the setup: only then does the width stand for what the user had, and
    // only then is it stored at shutdown.
    bool setUp = false;
};

// Makes the state hold one column per field, in field order. Columns whose field
// stayed in place keep their state; new ones show the field name at the default
// width. True when the list of fields changed.
bool MatchColumnsToFields(std::vector<GridColumn> &columns, const QStringList &fields);

// SetupGrid without the view: captions, widths, alignment and visibility from
// LastUser/Modus, LastUser/SizeOfGridCol<n> and Grid/ColWith<i>, Grid/Caption<n>.
// Returns the number of race points columns. A stored width that does not convert
// takes its default and is added to `bad`: the setup is always finished.
int SetupGridColumns(std::vector<GridColumn> &columns, BadSettings &bad);

}  // namespace tarnis
