// What the import dialog shows and collects: what a look at the boundary
// data found (its layers, the chosen layer's attributes with their first
// values, the encodings worth offering) and the person's choices.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct ImportAttribute {
    QString name;
    QStringList preview;  // the first few values, as the chosen encoding reads them
};

struct ImportFields {
    // ---- what the source offers ----
    QStringList layers;
    std::vector<ImportAttribute> attributes;  // of the chosen layer
    // Empty when the format carries its own encoding (only a Shapefile's
    // attribute table can be read one way or another).
    QStringList encodings;
    QString encodingFound;  // what a .cpg declares or the bytes suggest; empty: nothing
    QString error;          // the source could not be read; the rest is empty

    // ---- the choices ----
    QString layer, nameField, encoding;
    int width = 0, height = 0;  // the pixel box the data is fitted into
    double simplify = 0;        // px; 0: kept as read

    // Looks at the source again for the layer and encoding now chosen,
    // refilling what it offers; set by whoever asks.
    std::function<void(ImportFields&)> refresh;
};
