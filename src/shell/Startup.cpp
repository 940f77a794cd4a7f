// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::InitMain(const QString&, const QString&) {
    NotBuilt(ui, "InitMain");
}

bool Editor::CloseQuery() {
    NotBuilt(ui, "CloseQuery");
    return false;
}

void Editor::CloseMain(QRect, bool) {
    NotBuilt(ui, "CloseMain");
}

void Editor::QuitClick() {
    NotBuilt(ui, "QuitClick");
}

void Editor::SetProgramBase(const QString&) {
    NotBuilt(ui, "SetProgramBase");
}

void Editor::ReadSettings() {
    NotBuilt(ui, "ReadSettings");
}

void Editor::WriteSettings() {
    NotBuilt(ui, "WriteSettings");
}

void Editor::MakeTempNames() {
    NotBuilt(ui, "MakeTempNames");
}

void Editor::DeleteTempFiles() {
    NotBuilt(ui, "DeleteTempFiles");
}

QString Editor::SettingsPath() const {
    return QString();
}

