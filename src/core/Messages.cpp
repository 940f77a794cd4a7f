#include "core/Messages.h"

#include <array>

namespace {

struct Entry {
    Msg id;
    const char16_t* text;
};

// In the order of the enum; checked below, so an id can never show another's text.
constexpr Entry Table[] = {
    {Msg::None, u""},

    {Msg::CapSaveWork, u"作業保存"},
    {Msg::CapLoadWork, u"作業読込"},
    {Msg::CapOverwrite, u"上書き確認"},
    {Msg::CapConfirm, u"確認"},
    {Msg::CapWarning, u"警告"},
    {Msg::CapError, u"エラー"},
    {Msg::CapCaution, u"注意"},
    {Msg::CapReadMap, u"地図情報ファイルの読込"},
    {Msg::CapNoPicture, u"下絵なし"},
    {Msg::CapStepLimit, u"アチャー(;o;)"},

    {Msg::FileExistsOverwrite, u"%1 が存在します。上書きOk?"},
    {Msg::PictureNameNotSjis,
     u"%1 の名前はシフトJISで表せない文字を含むため、下絵を保存できません。"
     u"別の名前で保存してください。"},
    {Msg::PictureTempUnreadable, u"下絵の一時ファイル %1 を読めません。(%2)"},
    {Msg::PictureNotWritten, u"%1 に下絵を書き込めません。(%2)"},
    {Msg::FileNotWritable, u"%1 に書き込めません。(%2)"},
    {Msg::WorkNotSaved, u"作業を保存できませんでした。\n%1"},
    {Msg::WorkUnreadable, u"作業ファイルを読み込めません。\n%1\n現在の作業はそのままです。"},
    {Msg::PictureNotFound, u"%1 がみつかりません。下絵は使えません。"},
    {Msg::PictureTooLarge, u"%1 は %2 x %3 ピクセルあり、扱える大きさ (32767) を超えています。"},
    {Msg::PictureUnusable, u"%1\n下絵は使えません。"},
    {Msg::SurfaceNotGrown,
     u"描画面を %1 x %2 ピクセルに広げられません。地図の一部は表示されません。"},

    {Msg::LegendNotPlaced, u"凡例位置の設定が行われていません。"},
    {Msg::ComposedYet, u"境界線(L)-最終編成(R)は行われてますか？"},
    {Msg::MapNotWrittenBecause, u"%1\n地図情報ファイルは書き込んでいません。"},
    {Msg::MapNotWritten, u"%1 に書き込めませんでした。\n%2"},
    {Msg::MapTimeNotSet, u"%1 は書き込みましたが、ファイルの日時を設定できませんでした。"},
    {Msg::MapFileMissing, u"%1 が見つかりません。"},
    {Msg::MapFileNotOpened, u"%1 を開けません。\n%2"},
    {Msg::MapUnreadable, u"%1 を読めませんでした。\n%2\n現在の作業はそのままです。"},
    {Msg::MapTooManyPoints, u"%1 を読めませんでした。\n点の記録が多すぎます (%2 個まで)。"},
    {Msg::WorkKept, u"\n現在の作業はそのままです。"},
    {Msg::MapNamesCut, u"区域名が 18 バイト (全角 9 文字) を超えていたので切り詰めました: %1 行目"},
    {Msg::MapAreasDropped, u"区域は %1 個までなので、それを超える %2 行の区域を読み飛ばしました。"},

    {Msg::CapCheckAreas, u"全区域の点検"},
    {Msg::CheckNothing, u"点検する境界線と区域の位置がありません。"},
    {Msg::CheckAllClosed, u"区域の位置 %1 か所を点検しました。どの区域の境界線も閉じています。"},
    {Msg::ReasonNotClosed, u"閉じていない"},
    {Msg::ReasonSharedWith, u"区域(%1)と同じ領域"},
    {Msg::ReasonCrossing, u"点を共有しない交差"},
    {Msg::ReasonDeadEnd, u"行き止まり"},
    {Msg::ReasonUntraceable, u"境界線をたどれない"},
    {Msg::ReasonNoStart, u"開始点がない"},
    {Msg::ReasonNoDirection, u"方向がわからない"},
    {Msg::ReasonLost, u"分岐点で迷う"},
    {Msg::ReasonStepLimit, u"無限ループ"},
    {Msg::ReasonTooLarge, u"点列に収まらない"},
};

constexpr bool InEnumOrder() {
    if (std::size(Table) != size_t(Msg::Count)) return false;
    for (size_t i = 0; i < std::size(Table); ++i)
        if (Table[i].id != Msg(i)) return false;
    return true;
}
static_assert(InEnumOrder(), "the message table must list every id once, in enum order");

}  // namespace

namespace msg {

QString Text(Msg id) {
    const auto i = size_t(id);
    if (i >= std::size(Table)) return QString();
    return QString::fromUtf16(Table[i].text);
}

QString Format(Msg id, const QStringList& args) {
    const QString t = Text(id);
    if (args.isEmpty()) return t;
    QString out;
    out.reserve(t.size() + 64);
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == u'%' && i + 1 < t.size() && t[i + 1].isDigit()) {
            qsizetype j = i + 1;
            int n = 0;
            while (j < t.size() && t[j].isDigit() && j - i <= 2) n = n * 10 + t[j++].digitValue();
            if (n >= 1 && n <= args.size()) {
                out += args[n - 1];
                i = j - 1;
                continue;
            }
        }
        out += t[i];
    }
    return out;
}

}  // namespace msg
