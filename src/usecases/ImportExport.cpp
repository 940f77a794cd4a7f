#include "usecases/ImportExport.h"

#include <QFileInfo>
#include <algorithm>
#include <memory>

#include "georef/GeoRefFiles.h"
#include "usecases/WorkFiles.h"

namespace usecase {

namespace {

constexpr int kMaxNotesShown = 20;

// The library's own wording, under the command's caption.
Message Failure(const QString& text, Msg caption) {
    Message m;
    m.literal = text;
    m.caption = caption;
    m.icon = MsgIcon::Error;
    return m;
}

}  // namespace

ImportOutcome ImportBoundaries(const QString& input, const QString& output,
                               const gis::ImportOptions& options) {
    ImportOutcome out;
    auto st = std::make_unique<Store>();
    if (!gis::ImportBoundaries(input, options, *st, out.summary)) {
        out.badInput = true;
        out.result = {false, Failure(out.summary.error, Msg::CapImportBoundaries), {}};
        return out;
    }
    const QStringList& notes = out.summary.notes;
    if (!notes.isEmpty()) {
        QStringList shown = notes.mid(0, kMaxNotesShown);
        if (notes.size() > kMaxNotesShown)
            shown << msg::Text(Msg::AndMore).arg(notes.size() - kMaxNotesShown);
        out.notes.literal = shown.join(u'\n');
        out.notes.caption = Msg::CapImportBoundaries;
        out.notes.icon = MsgIcon::Warning;
    }
    // The work and its georeference go to disk together, as every save does.
    out.result = SaveWork(*st, {output, QString()}, QString());
    if (out.result.ok)
        out.result.message = {};
    else
        out.result.message.caption = Msg::CapImportBoundaries;
    return out;
}

QSize ExportImageSize(const Store& st, const QString& output) {
    if (gis::FormatForPath(output) != gis::ExportFormat::Png) return {};
    return {std::max<int>(1, st.MapWidth), std::max<int>(1, st.MapHeight)};
}

Result ExportTarget(const QString& output) {
    // GeoJSON may end in .json; a work's georeference does too, and is no
    // export's to replace.
    if (output.endsWith(QStringLiteral(".vlm.json"), Qt::CaseInsensitive))
        return {false, Say(Msg::ExportOverGeoRef, {output}, Msg::CapExport, MsgIcon::Error), {}};
    if (gis::FormatForPath(output)) return {true, {}, {}};
    return {false, Say(Msg::ExportExtensionBad, {output}, Msg::CapExport, MsgIcon::Error), {}};
}

Result ExportBesideWork(const QString& output, const QString& workFile) {
    if (workFile.isEmpty()) return {true, {}, {}};
    const QFileInfo out(output), kept(georef::JsonPathFor(workFile));
    const bool same = out.absoluteFilePath() == kept.absoluteFilePath() ||
                      (out.exists() && kept.exists() &&
                       out.canonicalFilePath() == kept.canonicalFilePath());
    if (!same) return {true, {}, {}};
    return {false, Say(Msg::ExportOverTransform, {output, workFile}, Msg::CapExport, MsgIcon::Error),
            {}};
}

ExportOutcome ExportMap(const Store& st, const QString& workFile, const QString& output) {
    ExportOutcome out;
    out.result = ExportBesideWork(output, workFile);
    if (!out.result.ok) return out;
    const auto format = gis::FormatForPath(output);
    if (!format || !ExportTarget(output).ok) {
        out.result = ExportTarget(output);
        return out;
    }
    (void)workFile;
    out.sourceCoordinates = !st.Geo.Empty();
    if (!gis::ExportMap(st, out.sourceCoordinates ? &st.Geo : nullptr, output, *format,
                        out.summary)) {
        out.result = {false, Failure(out.summary.error, Msg::CapExport), {}};
        return out;
    }
    out.result = {true, {}, {output}};
    // Every area is written or named.
    QStringList said;
    const gis::ExportResult& r = out.summary;
    if (!r.withoutOutline.isEmpty())
        said << msg::Format(Msg::ExportLeftOut, {QString::number(r.withoutOutline.size()),
                                                 r.withoutOutline.join(QStringLiteral(", "))});
    if (!r.mended.isEmpty())
        said << msg::Format(Msg::ExportMendedNote, {QString::number(r.mended.size()),
                                                    r.mended.join(QStringLiteral(", "))});
    if (!said.isEmpty()) {
        out.result.message.literal = said.join(u'\n');
        out.result.message.caption = Msg::CapExport;
        out.result.message.icon = MsgIcon::Information;
    }
    return out;
}

}  // namespace usecase
