// Every text the program shows the person, under one identifier each, so
// that code and tests name a message instead of repeating its wording. The
// texts keep their exact bytes: people and their scripts know them.
#pragma once

#include <QString>
#include <QStringList>

enum class Msg : int {
    None,  // nothing to say

    // ---- captions ----
    CapSaveWork,   // 作業保存
    CapLoadWork,   // 作業読込
    CapOverwrite,  // 上書き確認
    CapConfirm,    // 確認
    CapWarning,    // 警告
    CapError,      // エラー
    CapCaution,    // 注意
    CapReadMap,    // 地図情報ファイルの読込
    CapNoPicture,  // 下絵なし
    CapStepLimit,  // アチャー(;o;)

    // ---- work files ----
    FileExistsOverwrite,    // %1 が存在します。上書きOk?
    PictureNameNotSjis,     // %1 の名前はシフトJISで表せない文字を含むため、...
    PictureTempUnreadable,  // 下絵の一時ファイル %1 を読めません。(%2)
    PictureNotWritten,      // %1 に下絵を書き込めません。(%2)
    FileNotWritable,        // %1 に書き込めません。(%2)
    WorkNotSaved,           // 作業を保存できませんでした。\n%1
    WorkUnreadable,  // 作業ファイルを読み込めません。\n%1\n現在の作業はそのままです。
    PictureNotFound,  // %1 がみつかりません。下絵は使えません。
    PictureTooLarge,  // %1 は %2 x %3 ピクセルあり、...
    PictureUnusable,  // %1\n下絵は使えません。
    SurfaceNotGrown,  // 描画面を %1 x %2 ピクセルに広げられません。...

    // ---- finished maps ----
    LegendNotPlaced,       // 凡例位置の設定が行われていません。
    ComposedYet,           // 境界線(L)-最終編成(R)は行われてますか？
    MapNotWrittenBecause,  // %1\n地図情報ファイルは書き込んでいません。
    MapNotWritten,         // %1 に書き込めませんでした。\n%2
    MapTimeNotSet,  // %1 は書き込みましたが、ファイルの日時を設定できませんでした。
    MapFileMissing,    // %1 が見つかりません。
    MapFileNotOpened,  // %1 を開けません。\n%2
    MapUnreadable,  // %1 を読めませんでした。\n%2\n現在の作業はそのままです。
    MapTooManyPoints,  // %1 を読めませんでした。\n点の記録が多すぎます (%2 個まで)。
    WorkKept,     // \n現在の作業はそのままです。
    MapNamesCut,  // 区域名が 18 バイト (全角 9 文字) を超えていたので切り詰めました: %1 行目
    MapAreasDropped,  // 区域は %1 個までなので、それを超える %2 行の区域を読み飛ばしました。

    // ---- 全区域の点検 ----
    CapCheckAreas,  // 全区域の点検
    CheckNothing,   // 点検する境界線と区域の位置がありません。
    CheckAllClosed,  // 区域の位置 %1 か所を点検しました。どの区域の境界線も閉じています。
    ReasonNotClosed,    // 閉じていない
    ReasonSharedWith,   // 区域(%1)と同じ領域
    ReasonCrossing,     // 点を共有しない交差
    ReasonDeadEnd,      // 行き止まり
    ReasonUntraceable,  // 境界線をたどれない
    ReasonNoStart,      // 開始点がない
    ReasonNoDirection,  // 方向がわからない
    ReasonLost,         // 分岐点で迷う
    ReasonStepLimit,    // 無限ループ
    ReasonTooLarge,     // 点列に収まらない

    // ---- the rest, in the order of the files that show them ----
    AreaNameShort,
    MenuImportBoundaries,
    MenuExport,
    MenuPrint,
    PrintNotStarted,
    CapPrint,
    AreaLinePositionBad,
    TooManyAreas,
    AndOthers,
    AreaNamesCut,
    CapAreaNames,
    AreaTableUnchanged,
    PositionBad,
    CapPosition,
    CliUsage,
    CliMaxMemory,
    CliNoInput,
    CliExtraArguments,
    CliOutputIsInput,
    CliOutputExists,
    CliUnreadable,
    CliComposeNeedsOutput,
    CliFieldsNeedIdt,
    CliTimeForm,
    CliResolutionForm,
    CliMagnificationForm,
    CliTooManyRemarks,
    CliNothingToCompose,
    CliComposeStop,
    CliNotWritten,
    CliNeedsVlmOutput,
    CliSizeForm,
    CliImportMissing,
    CliNeedsOutput,
    CliExportExtension,
    CliExportNotComposed,
    CliGisMissing,
    CliGisNotStarted,
    CliInfoNotOpened,
    CliInfoUnreadable,
    CliInfoMissing,
    CliReadIdtNotWritten,
    CliNoSuchCommand,
    TraceRegionOpen,
    TraceNoStartEnd,
    TraceNoDirection,
    TraceLost,
    TraceAreaOpen,
    TraceNotClosed,
    TraceStepLimit,
    TraceTooLarge,
    TraceUntraceable,
    TraceAndArea,
    TracePosition,
    TraceSharedRegion,
    TraceLinesOf,
    TraceCrossing,
    TraceStartSegment,
    NotBuiltYet,
    KindListFull,
    CapMoveScale,
    MapUnchanged,
    MoveXNotInteger,
    MoveYNotInteger,
    ScaleNotNumber,
    MoveOutOfRange,
    MoveLosesX,
    WordPoint,
    WordKindPoint,
    WordAreaPosition,
    WordLegend,
    MovedPictureSize,
    PictureMoveMemory,
    PictureScaleMemory,
    RepeatedSegmentsTooMany,
    PointListFull,
    TrimOutsideAsk,
    TrimInsideAsk,
    IdtEmpty,
    IdtNoPoints,
    IdtTooManyRecords,
    IdtOddBytes,
    IdtTooManyWithSeparators,
    IdtSurfaceNotGrown,
    DiscardWorkAsk,
    ResolutionBad,
    MagnificationBad,
    StampBad,
    StampYearBad,
    ScaleOutOfRange,
    ScaleLosesX,
    FilterIdt,
    CapOpenFile,
    OpenMissing,
    OpenUnknownKind,
    CapLoadPicture,
    ReasonDiskFull,
    ReasonQuota,
    ReasonAccess,
    ReasonReadOnly,
    ReasonIsFolder,
    ReasonNoFolder,
    ReasonNameTooLong,
    ReasonBusy,
    ReasonIo,
    ReasonTooBig,
    ReasonTooManyOpen,
    ReasonCrossDevice,
    OriginalKeptAt,
    FilterWork,
    DiscardWorkAsk2,
    FilterWorkOrIdt,
    SaveAsFinishedAsk,
    CapSaveFinished,
    WorkLineMissing,
    WorkLineTooLong,
    WorkReadFailed,
    WorkNotNumber,
    WorkOutOfRange,
    WorkLineError,
    WorkTitleCut,
    WorkAreaNameCut,
    WordNone,
    ImportFileMissing,
    ImportSizeBad,
    ImportUnreadable,
    ImportNoPolygonLayer,
    ImportNoField,
    ImportNotPolygon,
    ImportBadCoordinates,
    ImportTooManyAreas,
    ImportReadError,
    ImportNoPolygons,
    ImportNoExtent,
    ImportTooManyPoints,
    ImportNameChanged,
    ImportPartsTooSmall,
    ImportPartsDropped,
    NodingFailed,
    CapImportBoundaries,
    CapExport,
    AndMore,
    FilterBoundaries,
    ExistsOverwriteSuffix,
    ExportExtensionBad,
    ExportFormatMissing,
    ExportNotComposed,
    PictureTooLargeToUse,
    FilterPictures,
    ClearLinesAsk,
    PictureMemory,
    ClipboardNoPicture,
    CapPastePicture,
    ClearPictureAsk,
    CapMonotone,
    CapEnlarge,
    EnlargeTooLarge,
    EnlargeMemory,
    BitmapUnreadable,
    BitmapEmptyFile,
    BitmapNoHeader,
    BitmapBadHeader,
    BitmapNegativeWidth,
    BitmapZeroSize,
    BitmapTooLarge,
    BitmapDepthUnsupported,
    BitmapCut,
    BitmapSizeMismatch,
    BitmapTooLargeShort,
    BitmapNoImage,
    BitmapSurfaceEmpty,
    ImageUnreadable,
    ImageFormatUnsupported,
    PdfUnreadable,
    PdfLocked,
    PdfNoPageSize,
    PdfNotRendered,
    CapRestore,
    AutosaveCopyFailed,
    AutosaveOff,
    UnsavedWork,
    WorkOf,
    RestoreAsk,
    SettingsUnreadable,
    SettingsTooLarge,
    SettingsCut,
    SettingsNotWritten,
    SettingsFile,
    ComposeAgainFirst,
    CapPlease,
    MenuHidePicture,
    MenuShowPicture,
    NotCreated,
    AutosavePlaceNotMade,
    TempNotCreated,
    SaveBeforeCloseAsk,
    CapCloseConfirm,
    PictureTempMissing,
    PictureTooLargeShort,
    PictureDisplayMemory,
    SurfaceOverBudget,
    SurfaceBudgetAsk,

    // ---- the window: menus, pop-up menus, tool panel and their hints ----
    MenuFile,            // ﾌｧｲﾙ(&F)
    MenuSaveWork,        // 作業保存(&S)
    MenuLoadWork,        // 作業読込(&L)
    MenuWriteMap,        // 完成図(idt)保存(&W)
    MenuReadMap,         // IDTファイル読込(&R)
    MenuNewWork,         // 新規作業(&N)
    MenuQuit,            // 終了(&X)
    MenuSaveOver,        // 上書き保存(&U)
    MenuPicture,         // 下絵(&E)
    MenuLoadPicture,     // 下絵の読み込み(&L)
    MenuPastePicture,    // 下絵の貼り付け(&P)
    MenuMonotone,        // 下絵の単色化(&M)
    MenuExpandPicture,   // 下絵の拡大(&N)
    MenuClearPicture,    // 下絵の消去(&D)
    MenuDraw,            // 作図(&D)
    MenuInputMode,       // 点情報入力モード(&B)
    MenuEditMode,        // 点情報修正モード(&E)
    MenuLineKindMode,    // 線種指定モード(&L)
    MenuTrimmingMode,    // トリミングモード(&T)
    MenuJigsawMode,      // ジグソーモード(&J)
    MenuMoveScale,       // 移動／伸縮(&M)
    MenuUndo,            // 元に戻す(&U)
    MenuRedo,            // やり直し(&R)
    MenuAreas,           // 区域(&A)
    MenuAreaNames,       // 区域名入力･編集(&N)
    MenuAreaPositions,   // 区域名⇔位置(&Z)
    MenuLegend,          // 凡例(&I)
    MenuLegendPosition,  // 凡例位置指定(&P)
    MenuFinish,          // 完成(&C)
    MenuCompose,         // 境界線最終編成(&R)
    MenuCheckAreas,      // 全区域の点検(&C)
    MenuHelp,            // ヘルプ(&H)
    MenuHelpContents,    // 目次(&C)
    MenuAbout,           // Velmot について
    MenuShowHints,       // ｽﾋﾟｰﾄﾞﾎﾞﾀﾝのヒント
    PopLastPoint,        // 今のは端点
    PopCutLine,          // 今のは始点
    PopWrongPoint,       // ひとつ戻る
    PopConnectStart,     // 始点と結ぶ
    PopConnectNear,      // 近傍点と結ぶ
    PopNearStart,        // 近傍点を始点に
    PopAppendDot,        // 点の追加
    PopDeletePoint,      // 点の削除
    PopCutDots,          // つながりの切断
    PopDeleteLine,       // 連続線の削除
    PopAddSecond,        // 追加－第２境界線
    PopAddDivision,      // 追加－区分線
    PopToAuxiliary,      // 移籍→補助線
    PopDropSecond,       // 解除－第２境界線
    PopDropDivision,     // 解除－区分線
    PopFromAuxiliary,    // 移籍←補助線
    PopCutOutside,       // 外側を削除
    PopCutInside,        // 内側を削除
    PopCancelCutting,    // キャンセル
    HintFileOpen,        // 作業ﾌｧｲﾙを開く
    HintFileSave,        // 作業/完成図の保存
    HintPictureOpen,     // 下絵の読み込み
    HintMonotone,        // 下絵の単色化
    HintExpand,          // 下絵の拡大
    TipExpand,  // 下絵そのものを縦横2倍にします（境界線は動きません）。表示の拡大ではありません。
    HintAreaName,     // 区域名入力
    HintAreaPos,      // 区域名⇔位置 関連づけ
    HintLegendPos,    // 凡例位置の指定
    HintCompose,      // 境界線最終編成
    ButtonInputMode,  // 点入力モード
    ButtonEditMode,   // 点修正モード
    MenuView,         // 表示(&V)
    MenuZoomIn,       // 拡大表示(&I)
    TipZoomIn,        // 表示を2倍にします（下絵や境界線は変わりません）
    MenuZoomOut,      // 縮小表示(&O)
    TipZoomOut,       // 表示を1/2にします（下絵や境界線は変わりません）
    MenuZoomReset,    // 等倍表示(&A)
    TipZoomReset,     // 表示を1:1に戻します
    MenuZoomFit,      // 全体表示(&F)
    TipZoomFit,       // 作図面の全体が収まる倍率で表示します
    TipZoom,          // 表示倍率（Ctrl+ホイール、Ctrl++、Ctrl+-、Ctrl+0）

    // ---- the window: its title, message-box buttons and dialogs ----
    ButtonYes,       // はい(&Y)
    ButtonNo,        // いいえ(&N)
    ButtonCancel,    // ｷｬﾝｾﾙ
    ButtonSave,      // 保存(&S)
    ButtonDiscard,   // 破棄(&D)
    ButtonClose,     // 閉じる
    ButtonDone,      // 完了
    Untitled,        // 無題
    WindowTitleEnd,  // [*] — Velmot
    HeadArea,        // 区域
    HeadAreaName,    // 区域名
    HeadPosition,    // 位置
    HeadReason,      // 理由
    HeadPlace,       // 場所
    ProblemsFound,  // %1 か所の位置で境界線を組み立てられません。行を選ぶとその区域を赤で示します。
    TitleFormCaption,     // タイトルの指定
    LabelTitle,           // タイトル：
    LabelStamp,           // ﾀｲﾑｽﾀﾝﾌﾟ：
    LabelColon,           // ：
    LabelDate,            // 日付：
    LabelExtentX,         // 地図情報の最大値は、Ｘ座標が
    LabelExtentY,         // Ｙ座標が
    LabelExtentEnd,       // です。
    LabelResolution,      // 解像度
    LabelResX,            // Ｘ：
    LabelResY,            // Ｙ：
    LabelMagnification,   // 倍率：
    LabelRemarks,         // 注  釈 ：
    LabelSaveConditions,  // 保存条件を指定してください。
    AboutLine,            // ZENKAN用白地図作成
    HelpCaption,          // Velmot ヘルプ
    ButtonContents,       // 目次
    ButtonBack,           // 戻る
    MoveCaption,          // 移動/伸縮
    LabelMoveBy,          // 移動量
    LabelMoveX,           // Ｘ方向：
    LabelMoveY,           // Ｙ方向：
    LabelScale,           // 伸縮率：
    LabelMoveWhole,       // 地図全体の移動／伸縮
    AreaNamesCaption,     // 区域名の編集
    AreaNamesHelp,        // 区域名を１行に一つずつ、順に記入してください
    AreaPosCaption,       // 位置の指定
    AreaPosHelp,    // 区域名を選択して、該当場所をクリックして下さい。
    ButtonRepaint,  // 塗り直し

    // ---- work-file lines, as messages about a damaged file name them ----
    FieldTitle,       // 題名
    FieldLegendX,     // 凡例の X 座標
    FieldLegendY,     // 凡例の Y 座標
    FieldPicture,     // 下絵の名前
    FieldMapWidth,    // 地図の幅
    FieldMapHeight,   // 地図の高さ
    FieldPointCount,  // 点の数
    FieldPointX,      // 点の X 座標
    FieldPointY,      // 点の Y 座標
    FieldAreaCount,   // 区域の数
    FieldAreaName,    // 区域名
    FieldPositionX,   // 区域位置の X 座標
    FieldPositionY,   // 区域位置の Y 座標
    FieldCompleted,   // 完成の印
    FieldKindCount,   // 線種リストの数
    FieldKindX,       // 線種リストの X
    FieldKindY,       // 線種リストの Y

    // ---- import ----
    ImportFormatUnknown,  // どの形式とも認識できません

    // ---- automatic tracing ----
    CapAutoTrace,         // 自動トレース
    MenuAutoTrace,        // 自動トレース(&T)
    TraceNoInk,           // %1 には線のインクが見つかりません (白紙のページ)。
    TraceMostlyInk,       // %1 はページの %2% がインクです。線で描いた地図ではありません。
    TraceNotLineDrawing,  // %1 は写真か塗りつぶした図のようで ... (インク %2%、紙のむら %3)。
    TraceColourWash,      // %1 には色で塗り分けた面 (%2%) はありますが、境界線のインクが ...
    TraceNoRegions,       // %1 には線で囲まれた区域が見つかりません (領域 %2)。
    TraceNothingWritten,  // 何も書き出していません。
    TraceTooManyAreas,    // 囲まれた区域が %1 あり、区域の位置は最初の %2 区域にだけ置きました。
    CliRaiseMaxMemory,    // --max-memory で上限を上げられます
    CliTraceOptionForm,   // %1 の値が正しくありません: %2
    TraceDone,            // 境界線 %1 本 (%2 点)、囲まれた区域 %3。疑わしい境界 %4 か所。
    TraceDoubtBridged,    // すき間をつないだ
    TraceDoubtOtherInk,   // 別の色のインク
    TraceDoubtLettering,  // 文字を横切る
    TraceDoubtSmall,      // 小さいか細い区域
    TraceGap,             // すき間の半径
    TraceMinArea,         // 最小の区域
    TraceSampleHint,      // 下絵の境界線をクリックすると ... (しなければ自動)。
    TraceRun,             // 実行
    TraceNoPicture,       // 下絵がありません。先に下絵を読み込んでください。
    TracePreviewCount,    // 区域 %1 (すき間 %2 px、最小 %3 px)
    TraceInkAuto,         // インク: 自動
    TraceInkSampled,      // インク: (%1, %2, %3)
    TracePictureName,     // 下絵
    TraceStop,            // 中止

    // ---- repairs of the network ----
    RepairButton,       // 修正
    RepairAllButton,    // すべて修正
    RepairDone,         // %1 か所を修正しました。
    RepairNothing,      // ここには自動で修正できるところがありません。
    RepairCrossingKept, // (%1,%2) の交差は ... そのままにしました。
    RepairTooMany,      // 修正すると点の数が上限を超えます。
    CliSnapForm,        // --snap には ...
    CliDangleForm,      // --dangle には ...

    // ---- georeference ----
    GeoRefUnreadable,  // %1 の位置情報を読めないので、座標なしで開きました (ファイルはそのままです)
    ExportOverGeoRef,  // %1
    GeoRefNotSolvable,  // 基準点から座標への変換を求められません。(%1)
    GeoRefTooFew,  // 基準点が足りません: %1 には有効な点が %2 点以上要ります (いま %3
    GeoRefCollinear,  // 基準点がほぼ一直線に並んでいるので、変換が定まりません。
    GeoRefFolds,  // この変換では地図が折り返されます (%1, %2 付近)。基準点を見直してくださ
    GeoRefCrsUnknown,  // 座標系「%1」が分かりません。EPSG:番号 の形で指定してください。
    GeoRefClustered,  // 基準点が地図の一部に集まっています。離れた場所にも点を置くと精度が上がります。
    CapControlPoints,      // 基準点
    MenuControlPoints,     // 基準点(&P)
    ControlPointCaption,   // 基準点の座標
    LabelGroundX,          // X (経度)：
    LabelGroundY,          // Y (緯度)：
    LabelCrs,              // 座標系：
    LabelTransformMethod,  // 変換：
    ControlPointsCaption,  // 基準点の一覧
    ButtonDisable,         // 無効にする
    ButtonEnable,          // 有効にする
    ButtonDelete,          // 削除
    ControlPointsSummary,  // RMS %1 ピクセル (%2)、一点抜き %3 ピクセル

    ExportLeftOut,  // 輪郭のない区域は書き出していません (%1 区域): %2
    ExportMendedNote,  // 自分自身に接する輪郭、線を共有する輪郭を GIS の規則どおりに分け、またはまと
    ImportWithoutPosition,  // 位置を置けなかった地物 (%1): %2
    ImportBelowPixel,  // 地物 %1 (%2): %3 個の部分は 1 ピクセルより小さく位置を置けません

    // ---- files kept safe ----
    ExportOverTransform,   // %1 は作業ファイル %2 の座標変換のファイルです。...
    PictureLinkKept,       // 下絵の指定 (%1) はそのまま残します。
    AutosaveFailed,        // 自動保存できませんでした。\n%1\n...
    AutosaveFailedStatus,  // 自動保存できません: %1
    RestoreFileNewer,      // \nディスク上の %1 のほうが新しい日時 (%2) です。
    ImportDegenerate,       // 地物 %1 (%2): 点が 3 つに満たない輪 %3 個は...
    ImportHoleOutside,      // 地物 %1 (%2): 外周の外にある穴 %3 個を読み飛ばしました。
    ImportCoordinatesHuge,  // 地物 %1 の座標 (%2) が大きすぎて扱えません。...
    ImportOverBudget,       // 約 %1 個の点があり、読み込みには約 %2 MB ...
    ExportOverBudget,       // %1 x %2 ピクセルの画像は約 %3 MB ... 書き出しません。
    ExportBudgetAsk,        // %1 x %2 ピクセルの画像を書き出すには ... 書き出しますか？
    OpenFolder,             // %1 はフォルダです。ファイルを選んでください。
    ImportBudgetAsk,        // 約 %1 個の点があり、読み込みには約 %2 MB ... 読み込みますか？

    // ---- tracing in the window, and what the status bar says ----
    TraceDoubtsFound,  // 自動トレースの疑わしい境界 %1 か所。行を選ぶとその境界を赤で示します。
    TracePositions,    // 囲まれた区域ごとに位置を置く (名前は仮の番号)
    StatusComposed,    // 境界線最終編成: %1 区域、輪郭 %2 本、%3 点。
    StatusMapWritten,  // 完成図を %1 に保存しました (%2 区域)。
    StatusExported,    // %1 に書き出しました。
    StatusPrinted,     // 印刷しました: %1

    // ---- control points in the window ----
    CrsWgs84,              // WGS 84 (経緯度)
    CrsJgd2011,            // JGD2011 (経緯度)
    CrsJgd2011Zone,        // JGD2011 平面直角座標系 第%1系
    CrsWebMercator,        // Web メルカトル
    MethodAffine,          // アフィン (3 点以上)
    MethodPoly2,           // 2 次多項式 (6 点以上)
    MethodPoly3,           // 3 次多項式 (10 点以上)
    MethodTps,             // 薄板スプライン (3 点以上)
    HeadGcpOn,             // 有効
    HeadGcpNumber,         // 番号
    HeadGcpPixelX,         // ピクセル X
    HeadGcpPixelY,         // ピクセル Y
    HeadGcpGroundX,        // X (経度)
    HeadGcpGroundY,        // Y (緯度)
    HeadGcpResidualPx,     // 残差 (ピクセル)
    HeadGcpResidual,       // 残差 (地図単位)
    HeadGcpLeaveOneOut,    // 一点抜き (ピクセル)
    ControlPointNotNumber, // 座標には数を入れてください。
    ControlPointLatitude,  // 緯度は -90 から 90 の間です。
    ControlPointsEmpty,    // 地図の上をクリックすると基準点を置けます。点をドラッグすると動かせます。
    ControlPointsNoFit,    // この版では基準点の変換を求められません。
    ZpotSharedRegionAsk,    // この区画には「%1」の位置があります。...
    TraceProvisionalDropped,  // 区域がひとつになったので、仮の位置 %1 を取り除きました。
    TraceNumberedAsk,  // 区域がひとつになりました。番号だけの名前の位置 %1 を取り除きますか？

    // ---- the import dialog and its summary ----
    LabelImportLayer,  // レイヤー
    LabelImportNameField,  // 名前の属性 (行を選ぶ)
    HeadImportAttribute,  // 属性
    HeadImportPreview,  // 最初の値
    LabelImportEncoding,  // 文字コード
    ImportEncodingFound,  // %1 (ファイルから判断)
    LabelImportSize,  // 大きさ (幅 × 高さ、ピクセル)
    LabelImportSimplify,  // 単純化 (ピクセル、0 でしない)
    ImportSummary,  // %1 から区域 %2 (地物 %3 件)、位置 %4 か所、点 %5 個を読み込みました。...
    ImportSummarySimplified,  // 単純化で点を %1 個から %2 個に...
    ImportSummaryNotes,  // 読み込まなかったもの、変えたもの (%1 件):
    ImportNothingDropped,  // 読み込まなかったもの、変えたものはありません。
    ImportSameShape,        // 地物 %1 (%2) と地物 %3 (%4) は同じ形です (重複)。
    ImportSameNameOverlap,  // 地物 %1 と地物 %2 は同じ名前「%3」で重なっています (重複)。
    ImportInside,           // 地物 %1 (%2) は地物 %3 (%4) の中に重なっています ...
    ImportShifted,          // 日付変更線をまたぐため、%1 個の地物の西経を 360° ずらしました: %2
    Count
};

namespace msg {
// The text as stored, placeholders (%1, %2, ...) unfilled.
QString Text(Msg id);
// The text with %1.. replaced by args in one pass, so that an argument that
// itself holds "%2" (a file name) is never filled in again.
QString Format(Msg id, const QStringList& args = {});
}  // namespace msg
