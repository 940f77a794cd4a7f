// Which commands are enabled and checked, as the map and the mode allow.
#include "editor/CommandStates.h"

#include "base/Messages.h"
#include "editor/Services.h"

void CommandStates::InitCommandStates() {
    for (Cmd c : {Cmd::WriteMap, Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::ZoneArrange,
                  Cmd::ReMakeLine, Cmd::SpBmpMono, Cmd::SpBmpExpand, Cmd::SpAreaPos, Cmd::SpRemake})
        ui.SetEnabled(c, false);
    ui.SetEnabled(Cmd::BMPclear, true);
}

void CommandStates::EnablePictureCommands() {
    for (Cmd c :
         {Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::BMPclear, Cmd::SpBmpMono, Cmd::SpBmpExpand})
        ui.SetEnabled(c, true);
}

void CommandStates::DisablePictureCommands() {
    for (Cmd c : {Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::SpBmpMono, Cmd::SpBmpExpand})
        ui.SetEnabled(c, false);
    ui.SetEnabled(Cmd::BMPclear, true);
}

void CommandStates::EnableAreaPosCommands() {
    ui.SetEnabled(Cmd::ZoneArrange, true);
    ui.SetEnabled(Cmd::SpAreaPos, true);
}

void CommandStates::DisableAreaPosCommands() {
    ui.SetEnabled(Cmd::ZoneArrange, false);
    ui.SetEnabled(Cmd::SpAreaPos, false);
}

void CommandStates::EnableRemakeCommands() {
    ui.SetEnabled(Cmd::ReMakeLine, true);
    ui.SetEnabled(Cmd::SpRemake, true);
}

void CommandStates::DisableRemakeCommands() {
    ui.SetEnabled(Cmd::ReMakeLine, false);
    ui.SetEnabled(Cmd::SpRemake, false);
}

void CommandStates::CheckMainMenu() {
    ui.SetCaption(Cmd::BMPshowhide, st.BasePicShown ? msg::Text(Msg::MenuHidePicture)
                                                    : msg::Text(Msg::MenuShowPicture));
    ui.SetEnabled(Cmd::BMPclear, st.BasePicLoaded);
    ui.SetEnabled(Cmd::BMPshowhide, st.BasePicLoaded);
}

void CommandStates::ApplyHintSetting() {
    const bool on = settings.showHint == 1;
    ui.SetChecked(Cmd::CheckShowHint, on);
    ui.SetHintsShown(on);
}
