#pragma once

#include "raster/GFXFile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The file dialogs' type filter: "Description (*.a,*.b)|*.a;*.b|" per format, then the All entry.
struct FormatFilter {
    QString text;
    int lastIndex = 0; // 1-based index of the All entry, the dialog's default choice
};

// translate gives the text of the key "All"; unset gives the key itself.
FormatFilter BuildFormatFilter(const std::vector<GFXFormat>& formats, bool savableOnly,
                               const std::function<QString(const QString&)>& translate = {});

// 1-based index of the first entry whose text holds name's extension (with its dot, any case);
// 0 when no entry holds it, 1 for a name without extension.
int FilterIndexForName(const QString& filter, const QString& name);

// The save dialog's type change to entry index (1-based): a non-empty name gets the first
// extension of the index-th savable format in place of its own; the All entry changes nothing.
QString NameForSaveType(const QString& name, const std::vector<GFXFormat>& formats, int index);

// The filter as Qt's file dialogs take it: one "Description (*.a *.b)" per entry, in order.
QStringList DialogNameFilters(const QString& filter);
