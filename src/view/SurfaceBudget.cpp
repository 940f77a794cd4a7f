#include "view/SurfaceBudget.h"

#include "core/Ui.h"

SurfaceBudget& CurrentSurfaceBudget() {
    static SurfaceBudget budget;
    return budget;
}

bool MayGrowSurface(Ui& ui, int64_t w, int64_t h, const QString& caption) {
    const SurfaceBudget& b = CurrentSurfaceBudget();
    const int64_t bytes = w * h;
    if (bytes <= b.bytes) return true;
    const int64_t mb = (bytes + (1 << 20) - 1) >> 20, limit = b.bytes >> 20;
    if (!b.ask) {
        ui.Inform(QStringLiteral("描画面が %1 x %2 ピクセル (約 %3 MB) になり、上限の %4 MB "
                                 "を超えるため読み込みません。")
                      .arg(w)
                      .arg(h)
                      .arg(mb)
                      .arg(limit),
                  caption, MsgIcon::Error);
        return false;
    }
    return ui.AskYesNo(QStringLiteral("この地図には %1 x %2 ピクセルの描画面が必要で、約 %3 MB "
                                      "のメモリを使います (目安は %4 MB までです)。\n"
                                      "時間がかかることがあります。読み込みますか？")
                           .arg(w)
                           .arg(h)
                           .arg(mb)
                           .arg(limit),
                       caption);
}
