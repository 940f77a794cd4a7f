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
    {Msg::AreaNameShort, u"名"},
    {Msg::MenuImportBoundaries, u"境界データの読み込み(&G)"},
    {Msg::MenuExport, u"書き出し(&E)"},
    {Msg::MenuPrint, u"印刷(&P)"},
    {Msg::PrintNotStarted, u"印刷を始められませんでした。"},
    {Msg::CapPrint, u"印刷"},
    {Msg::AreaLinePositionBad,
     u"%1 行目の位置「%2」が正しくありません。\n位置は X,Y の形の整数 (-32768～32767) "
     u"で、複数の位置は / で区切って書いてください。"},
    {Msg::TooManyAreas, u"区域が %1 個あります。区域は %2 個までしか扱えません。"},
    {Msg::AndOthers, u" ほか"},
    {Msg::AreaNamesCut,
     u"区域名は 18 バイト (全角 9 文字) までです。\n次の行の区域名を切り詰めました: %1 行目"},
    {Msg::CapAreaNames, u"区域名の編集"},
    {Msg::AreaTableUnchanged, u"\n区域名の表は変更していません。"},
    {Msg::PositionBad,
     u"%1 番目の位置「%2」が正しくありません。\n位置は X,Y の形の整数 (-32768～32767) "
     u"で書いてください。"},
    {Msg::CapPosition, u"位置の指定"},
    {Msg::CliUsage, u"velmot-cli %1: %2 (velmot-cli %1 --help で使い方を表示)"},
    {Msg::CliMaxMemory, u"--max-memory には 1 以上の MB 数を指定してください"},
    {Msg::CliNoInput, u"入力ファイルを指定してください"},
    {Msg::CliExtraArguments, u"余分な引数があります: %1"},
    {Msg::CliOutputIsInput, u"%1 は入力ファイルです。上書きするには --force を付けてください"},
    {Msg::CliOutputExists, u"%1 が存在します。上書きするには --force を付けてください"},
    {Msg::CliUnreadable, u"velmot-cli: %1 を読み込めません。"},
    {Msg::CliComposeNeedsOutput, u"-o OUT.vlm か --idt OUT.idt を指定してください"},
    {Msg::CliFieldsNeedIdt,
     u"--title, --time, --resolution, --magnification, --remark は --idt と一緒に使います"},
    {Msg::CliTimeForm, u"--time は \"YYYY/MM/DD hh:mm:ss\" の形で指定します"},
    {Msg::CliResolutionForm, u"--resolution は X,Y (整数) です"},
    {Msg::CliMagnificationForm, u"--magnification は数値です"},
    {Msg::CliTooManyRemarks, u"備考は20行までです"},
    {Msg::CliNothingToCompose, u"velmot-cli: 編成するものがありません。"},
    {Msg::CliComposeStop, u"velmot-cli: 区域%1(%2)の位置%3 (%4,%5): %6 (%7,%8)"},
    {Msg::CliNotWritten, u"velmot-cli: %1 に書き込めませんでした。"},
    {Msg::CliNeedsVlmOutput, u"-o OUT.vlm を指定してください"},
    {Msg::CliSizeForm, u"--size は W,H (50〜32767 の整数) です"},
    {Msg::CliImportMissing, u"velmot-cli import: %1 が見つかりません。"},
    {Msg::CliNeedsOutput, u"-o OUT を指定してください"},
    {Msg::CliExportExtension, u"%1: 拡張子は geojson, shp, gpkg, svg, pdf, png のどれかです"},
    {Msg::CliExportNotComposed, u"velmot-cli export: %1 は編成できません。"},
    {Msg::CliGisMissing, u"velmot-cli: %1 には velmot-cli-gis が必要ですが、みつかりません。"},
    {Msg::CliGisNotStarted, u"velmot-cli: %1 を起動できません。"},
    {Msg::CliInfoNotOpened, u"%1 を開けません。(%2)"},
    {Msg::CliInfoUnreadable, u"%1 を読めませんでした。%2"},
    {Msg::CliInfoMissing, u"velmot-cli info: %1 が見つかりません。"},
    {Msg::CliReadIdtNotWritten, u"velmot-cli read-idt: %1 に書き込めませんでした。"},
    {Msg::CliNoSuchCommand, u"velmot-cli: '%1' というコマンドはありません"},
    {Msg::TraceRegionOpen, u"(赤の)領域「"},
    {Msg::TraceNoStartEnd, u"」の開始点がみつけられませんでした。"},
    {Msg::TraceNoDirection, u"開始点(赤)で方向がわかりません"},
    {Msg::TraceLost, u"あれ,分岐点（赤の点）で道に迷いました。"},
    {Msg::TraceAreaOpen, u"赤の区域("},
    {Msg::TraceNotClosed, u")は閉じていません。"},
    {Msg::TraceStepLimit, u"無限ループに入ったみたい。繰り返すようなら作者に連絡してください"},
    {Msg::TraceTooLarge,
     u"区域の境界線が多すぎて点列に収まりません。境界線最終編成を中止しました。"},
    {Msg::TraceUntraceable, u")の境界線をたどれませんでした。"},
    {Msg::TraceAndArea, u")と区域("},
    {Msg::TracePosition, u")の位置"},
    {Msg::TraceSharedRegion, u"が同じ領域にあります。間の境界線が途切れています。"},
    {Msg::TraceLinesOf, u")の境界線が"},
    {Msg::TraceCrossing, u"で点を共有せずに交差しています。"},
    {Msg::TraceStartSegment, u"開始線分 "},
    {Msg::NotBuiltYet, u"この機能 (%1) はまだ使えません。"},
    {Msg::KindListFull, u"線種の点の数が上限 (%1 点) に達しているため、この操作はできません。"},
    {Msg::CapMoveScale, u"移動/伸縮"},
    {Msg::MapUnchanged, u"地図は変更していません。"},
    {Msg::MoveXNotInteger, u"Ｘ方向の移動量「%1」は整数ではありません。"},
    {Msg::MoveYNotInteger, u"Ｙ方向の移動量「%1」は整数ではありません。"},
    {Msg::ScaleNotNumber, u"伸縮率「%1」は数値ではありません。"},
    {Msg::MoveOutOfRange, u"%1 (%2, %3) は移動/伸縮すると座標の範囲 (-32768～32767) を外れます。"},
    {Msg::MoveLosesX, u"%1 (%2, %3) は移動/伸縮すると X 座標が %4 以下になり、失われます。"},
    {Msg::WordPoint, u"点"},
    {Msg::WordKindPoint, u"線種の点"},
    {Msg::WordAreaPosition, u"区域の位置"},
    {Msg::WordLegend, u"凡例"},
    {Msg::MovedPictureSize, u"移動/伸縮後の下絵の大きさ (%1 x %2) は扱えません。"},
    {Msg::PictureMoveMemory, u"下絵の移動に必要なメモリが足りません。"},
    {Msg::PictureScaleMemory, u"下絵の伸縮に必要なメモリが足りません。"},
    {Msg::RepeatedSegmentsTooMany, u"点の数が多すぎるため、重複した線分を取り除けません。"},
    {Msg::PointListFull, u"点の数が上限 (%1 点) に達しているため、この操作はできません。"},
    {Msg::TrimOutsideAsk, u"指定の外を削除します。Ok ?"},
    {Msg::TrimInsideAsk, u"内側を削除します。Ok ?"},
    {Msg::IdtEmpty, u"ファイルが空です。"},
    {Msg::IdtNoPoints,
     u"\"@StartOfPoints\" の行がありません。地図情報ファイルではないか、途中で切れています。"},
    {Msg::IdtTooManyRecords, u"点の記録が %1 個あります。読めるのは %2 個までです。"},
    {Msg::IdtOddBytes,
     u"点の記録 (4 バイトずつ) の後に %1 "
     u"バイトの端数があります。ファイルが途中で切れているか、壊れています。"},
    {Msg::IdtTooManyWithSeparators,
     u"点の記録に区切りを加えると %1 個になります。読めるのは区切りを含めて %2 個までです。"},
    {Msg::IdtSurfaceNotGrown, u"地図が描画面より大きく、描画面を %1 × %2 に広げられませんでした。"},
    {Msg::DiscardWorkAsk, u"現在の作業を破棄してよいですか？"},
    {Msg::ResolutionBad,
     u"解像度「%1, %2」が正しくありません。\n-32768～32767 の整数を指定してください。"},
    {Msg::MagnificationBad,
     u"倍率「%1」が正しくありません。\n1.0 や 0.5 のような正の数を指定してください。"},
    {Msg::StampBad, u"タイムスタンプ「%1」は正しい日付と時刻ではありません。"},
    {Msg::StampYearBad,
     u"タイムスタンプの年 %1 はファイルの日時にできません。\n1980～2099 "
     u"年の日付を指定してください。"},
    {Msg::ScaleOutOfRange,
     u"倍率 %1 では座標が最大 %2 になり、ファイルに書ける範囲 (-32768～32767) "
     u"を超えます。\n倍率を小さくしてください。"},
    {Msg::ScaleLosesX,
     u"倍率 %1 では X 座標が 0 "
     u"になる点があり、線がつながらなくなります。\n倍率を大きくしてください。"},
    {Msg::FilterIdt, u"地図情報ﾌｧｲﾙ(*.idt)|*.idt"},
    {Msg::CapOpenFile, u"ファイルを開く"},
    {Msg::OpenMissing, u"%1 がみつかりません。"},
    {Msg::OpenUnknownKind, u"%1 は作業ファイル、完成図、画像のどれでもありません。"},
    {Msg::CapLoadPicture, u"下絵の読み込み"},
    {Msg::ReasonDiskFull, u"ディスクの空き容量が足りません"},
    {Msg::ReasonQuota, u"ディスクの使用量の上限を超えています"},
    {Msg::ReasonAccess, u"アクセスが許可されていません"},
    {Msg::ReasonReadOnly, u"読み取り専用の場所です"},
    {Msg::ReasonIsFolder, u"同じ名前のフォルダーがあります"},
    {Msg::ReasonNoFolder, u"フォルダーが見つかりません"},
    {Msg::ReasonNameTooLong, u"ファイル名が長すぎます"},
    {Msg::ReasonBusy, u"ほかのプログラムが使用中です"},
    {Msg::ReasonIo, u"ディスクの読み書きでエラーが起きました"},
    {Msg::ReasonTooBig, u"ファイルが大きすぎます"},
    {Msg::ReasonTooManyOpen, u"開いているファイルが多すぎます"},
    {Msg::ReasonCrossDevice, u"別のドライブには移せません"},
    {Msg::OriginalKeptAt, u"\n元のファイルは %1 に残っています。"},
    {Msg::FilterWork, u"作業ﾌｧｲﾙ(*.vlm)|*.vlm"},
    {Msg::DiscardWorkAsk2, u"現在の作業を破棄しますか？"},
    {Msg::FilterWorkOrIdt, u"作業ﾌｧｲﾙ(*.vlm)|*.vlm|IDT ﾌｧｲﾙ(*.idt)|*.idt"},
    {Msg::SaveAsFinishedAsk, u"完成図として保存しますか ?"},
    {Msg::CapSaveFinished, u"完成図保存"},
    {Msg::WorkLineMissing, u"%1がありません。ファイルが途中で終わっています。"},
    {Msg::WorkLineTooLong, u"行が長すぎます。"},
    {Msg::WorkReadFailed, u"読み取りに失敗しました。"},
    {Msg::WorkNotNumber, u"%1が数値ではありません (\"%2\")。"},
    {Msg::WorkOutOfRange, u"%1 %2 は範囲 %3 ～ %4 を外れています。"},
    {Msg::WorkLineError, u"%1 の %2 行目: %3"},
    {Msg::WorkTitleCut, u"%1 の %2 行目: 題名が %3 バイトを超えるため切り詰めました。"},
    {Msg::WorkAreaNameCut,
     u"%1 の %2 行目: 区域名「%3」が %4 バイトを超えるため「%5」に切り詰めました。"},
    {Msg::WordNone, u"なし"},
    {Msg::ImportFileMissing, u"ファイルが見つかりません。"},
    {Msg::ImportSizeBad, u"大きさは 50〜32767 ピクセルで指定してください。"},
    {Msg::ImportUnreadable, u"境界データとして読めません。(%1)"},
    {Msg::ImportNoPolygonLayer, u"ポリゴンのレイヤーがありません。"},
    {Msg::ImportNoField, u"属性「%1」がありません。(属性: %2)"},
    {Msg::ImportNotPolygon, u"地物 %1 (%2) はポリゴンではないので読み飛ばしました。"},
    {Msg::ImportBadCoordinates, u"地物 %1 の座標が数値ではありません。"},
    {Msg::ImportTooManyAreas, u"区域は %1 個までです。"},
    {Msg::ImportReadError, u"読み込み中にエラーがありました。(%1)"},
    {Msg::ImportNoPolygons, u"ポリゴンがありません。"},
    {Msg::ImportNoExtent, u"範囲に広がりがありません。"},
    {Msg::ImportTooManyPoints, u"点の数が点リストの上限 %1 を超えます。"},
    {Msg::ImportNameChanged, u"地物 %1: 区域名「%2」を「%3」にしました。"},
    {Msg::ImportPartsTooSmall, u"地物 %1 (%2): %3 個の部分は小さすぎて位置を置けません。"},
    {Msg::ImportPartsDropped,
     u"地物 %1 (%2): 位置は大きい順に %3 個までなので、%4 個の部分を省きました。"},
    {Msg::NodingFailed, u"境界線を節点化できませんでした。(%1)"},
    {Msg::CapImportBoundaries, u"境界データの読み込み"},
    {Msg::CapExport, u"書き出し"},
    {Msg::AndMore, u"ほか %1 件"},
    {Msg::FilterBoundaries,
     u"境界データ(*.geojson;*.json;*.shp;*.gpkg)|*.geojson;*.json;*.shp;*.gpkg|すべてのファイル(*.*"
     u")|*.*"},
    {Msg::ExistsOverwriteSuffix, u" が存在します。上書きOk?"},
    {Msg::ExportExtensionBad, u"%1\n拡張子は geojson, shp, gpkg, svg, pdf, png のどれかです。"},
    {Msg::ExportFormatMissing, u"%1 を書き出す機能がありません。"},
    {Msg::ExportNotComposed, u"境界線最終編成が済んでいないので書き出せません。"},
    {Msg::PictureTooLargeToUse,
     u"下絵が大きすぎます (%1 x %2 ピクセル)。縦横とも %3 ピクセルまでです。"},
    {Msg::FilterPictures, u"画像ファイル|%1|ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ(*.bmp)|*.bmp"},
    {Msg::ClearLinesAsk, u"現在の境界線情報を消しますか？"},
    {Msg::PictureMemory, u"下絵 (%1 x %2) を扱うメモリが足りません。"},
    {Msg::ClipboardNoPicture, u"クリップボードに画像がありません。"},
    {Msg::CapPastePicture, u"下絵の貼り付け"},
    {Msg::ClearPictureAsk, u"下絵を作業データから消去します。"},
    {Msg::CapMonotone, u"下絵の単色化"},
    {Msg::CapEnlarge, u"下絵の拡大"},
    {Msg::EnlargeTooLarge,
     u"下絵 (%1 x %2 ピクセル) を拡大すると縦横の上限 %3 ピクセルを超えます。"},
    {Msg::EnlargeMemory, u"下絵 (%1 x %2) を拡大するメモリが足りません。"},
    {Msg::BitmapUnreadable, u"%1 はビットマップファイルとして読めません。(%2)"},
    {Msg::BitmapEmptyFile, u"空のファイルです"},
    {Msg::BitmapNoHeader, u"ビットマップの見出しがありません"},
    {Msg::BitmapBadHeader, u"見出しが壊れています"},
    {Msg::BitmapNegativeWidth, u"幅が負の値 (%1) になっています"},
    {Msg::BitmapZeroSize, u"大きさが 0 です"},
    {Msg::BitmapTooLarge, u"%1 は大きすぎて読めません（%2 x %3 画素）。縦横とも %4 画素までです。"},
    {Msg::BitmapDepthUnsupported, u"%1 ビットの画素には対応していません"},
    {Msg::BitmapCut, u"ファイルが途中で切れています"},
    {Msg::BitmapSizeMismatch,
     u"%1 は %2 x %3 画素と書かれていますが、ファイルの中身 (%4 バイト) "
     u"はその大きさの画像を表せません。"},
    {Msg::BitmapTooLargeShort, u"%1 は大きすぎて読めません（%2 x %3 画素）。"},
    {Msg::BitmapNoImage, u"画像がありません"},
    {Msg::BitmapSurfaceEmpty, u"描画面が空です"},
    {Msg::ImageUnreadable, u"%1 は画像ファイルとして読めません。(%2)"},
    {Msg::ImageFormatUnsupported, u"対応していない形式です"},
    {Msg::PdfUnreadable, u"PDF として読めません"},
    {Msg::PdfLocked, u"PDF にパスワードがかかっています"},
    {Msg::PdfNoPageSize, u"PDF の1ページ目に大きさがありません"},
    {Msg::PdfNotRendered, u"PDF の1ページ目を描けません"},
    {Msg::CapRestore, u"作業の復元"},
    {Msg::AutosaveCopyFailed, u"%1 を %2 に写せません。"},
    {Msg::AutosaveOff, u"\n自動保存はされません。"},
    {Msg::UnsavedWork, u"保存されていない作業"},
    {Msg::WorkOf, u"%1 の作業"},
    {Msg::RestoreAsk, u"%1が %2 に自動保存されています。\n復元しますか？"},
    {Msg::SettingsUnreadable, u"設定ファイル %1 を読めません。(%2)"},
    {Msg::SettingsTooLarge, u"設定ファイル %1 は大きすぎるため読みません (%2 バイト)。"},
    {Msg::SettingsCut, u"設定ファイル %1 を最後まで読めません。(%2)"},
    {Msg::SettingsNotWritten, u"設定ファイル %1 に書き込めません。(%2)"},
    {Msg::SettingsFile, u"設定ファイル "},
    {Msg::ComposeAgainFirst, u"その前に再度、完成－境界線最終編成を行ってください。"},
    {Msg::CapPlease, u"お願い"},
    {Msg::MenuHidePicture, u"下絵を隠す(&H)"},
    {Msg::MenuShowPicture, u"下絵の再表示(&H)"},
    {Msg::NotCreated, u"%1 を作成できません。"},
    {Msg::AutosavePlaceNotMade, u"%1 に自動保存の場所を作れません。"},
    {Msg::TempNotCreated, u"一時ファイルを %1 に作成できません。(%2)"},
    {Msg::SaveBeforeCloseAsk, u"作業は保存されていません。保存しますか？"},
    {Msg::CapCloseConfirm, u"Velmot 終了確認"},
    {Msg::PictureTempMissing, u"下絵の一時ファイル %1 がありません。"},
    {Msg::PictureTooLargeShort, u"下絵が大きすぎます (%1 x %2)。"},
    {Msg::PictureDisplayMemory, u"下絵 (%1 x %2) を表示するメモリが足りません。"},
    {Msg::SurfaceOverBudget,
     u"描画面が %1 x %2 ピクセル (約 %3 MB) になり、上限の %4 MB を超えるため読み込みません。"},
    {Msg::SurfaceBudgetAsk,
     u"この地図には %1 x %2 ピクセルの描画面が必要で、約 %3 MB のメモリを使います (目安は %4 MB "
     u"までです)。\n時間がかかることがあります。読み込みますか？"},
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
