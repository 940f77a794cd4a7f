// The window's commands for boundary data and map output, driven through the
// editor's Ui like every other command: the file dialogs, the questions and
// the messages around one import or export.
#pragma once

class Editor;

namespace gis {

// 「境界データの読み込み」: asks for the data and the work file to write,
// imports at the surface's size, writes NAME.vlm (+ .vlm.json) and opens it.
void ImportBoundariesCommand(Editor& ed);
// 「書き出し」: asks for the output; composes first when the work is not
// composed (the composition's own message tells why it could not).
void ExportMapCommand(Editor& ed);
// Composes the work when needed, as the two commands above and printing do;
// false when the composition failed (its message has been shown).
bool EnsureComposed(Editor& ed);

}  // namespace gis
