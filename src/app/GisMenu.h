// The File menu's items for boundary data and finished-map output:
// 「境界データの読み込み」, 「書き出し」 and 「印刷」.
#pragma once

#include <QString>

class Editor;
struct Store;
class QMenu;
class QWidget;

namespace gis_menu {

// Appends the items (after a separator) to the File menu.
void AddItems(QMenu* file, Editor& ed, QWidget* parent);
// Prints the composed map through the printer dialog; composes first.
void PrintMap(Editor& ed, QWidget* parent);
// The printed document's name, which a print to a file takes: the work's.
QString PrintName(const Store& st);

}  // namespace gis_menu
