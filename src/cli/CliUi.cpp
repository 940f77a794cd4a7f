#include "cli/CliUi.h"

#include <cstdio>

void CliUi::Print(const QString& text) {
    messages.push_back(text);
    if (!quiet) std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

bool CliUi::AskYesNo(const QString& text, const QString& caption) {
    messages.push_back(caption + QStringLiteral(": ") + text);
    return false;
}

bool CliUi::AskOkCancel(const QString& text, const QString& caption) {
    return AskYesNo(text, caption);
}

void CliUi::Inform(const QString& text, const QString& caption, MsgIcon) {
    Print(caption.isEmpty() ? text : caption + QStringLiteral(": ") + text);
}

void CliUi::ComposeMessage(const QString& text) {
    Print(text);
}

void CliUi::ShowProgress(bool visible) {
    if (!progressOnStderr) return;
    if (!visible && lastProgress_ >= 0) std::fprintf(stderr, "\n");
    lastProgress_ = visible ? 0 : -1;
}

void CliUi::SetProgress(int position) {
    if (!progressOnStderr || lastProgress_ < 0 || position == lastProgress_) return;
    lastProgress_ = position;
    std::fprintf(stderr, "\r%3d%%", position);
    std::fflush(stderr);
}
