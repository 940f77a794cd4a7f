#include "editor/commands/AreaNameEditor.h"

#include "base/Messages.h"
#include "editor/Services.h"
#include "formats/AreaText.h"
#include "text/ShiftJis.h"
#include "text/TextEntry.h"

void AreaNameEditor::AreaNameEditClick() {
    const QString listing = areas::ListAreaNames(st);
    bool changed = false;
    QString text = ui.EditAreaNames(listing, &changed);
    // A refused text goes back into the editor so that the typing is not lost;
    // closing it again unchanged gives up and keeps the table as it was.
    while (changed) {
        areas::AreaText parsed = areas::ParseAreaNames(text);
        if (parsed.error.isEmpty()) {
            doc.MarkEdited();
            wb.states.EnableRemakeCommands();
            Store table = st;
            areas::StoreAreas(table, parsed.areas);
            doc.ReplaceMap(std::move(table));
            if (!parsed.cutLines.empty())
                ui.Inform(msg::Text(Msg::AreaNamesCut).arg(areas::LineList(parsed.cutLines)),
                          msg::Text(Msg::CapAreaNames), MsgIcon::Warning);
            if (st.AreaCount >= 1) wb.states.EnableAreaPosCommands();
            return;
        }
        ui.Inform(parsed.error + msg::Text(Msg::AreaTableUnchanged), msg::Text(Msg::CapAreaNames),
                  MsgIcon::Warning);
        changed = false;
        text = ui.EditAreaNames(text, &changed);
    }
}
