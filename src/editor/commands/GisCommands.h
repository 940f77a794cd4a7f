// The window's commands for boundary data and map output, driven through the
// editor's Ui like every other command: the file dialogs, the questions and
// the messages around one import or export.
#pragma once

class Editor;

namespace gis {

// 「境界データの読み込み」: asks for the data, then the layer, name field,
// encoding, size (the surface's, proposed) and simplification in the import
// dialog, then the work file to write; imports, writes NAME.vlm (+ .vlm.json),
// opens it and reports what came in and what was left out.
void ImportBoundariesCommand(Editor& ed);
// 「書き出し」: asks for the output; composes first when the work is not
// composed (the composition's own message tells why it could not).
void ExportMapCommand(Editor& ed);
// Composes the work when needed, as the two commands above and printing do;
// false when the composition failed (its message has been shown).
bool EnsureComposed(Editor& ed);

}  // namespace gis
