// The under-drawing: loading, pasting, showing, clearing, and the
// monotone and expanded forms of it.
#pragma once

#include <QImage>
#include <QRgb>
#include <QString>
#include "editor/EditorPart.h"

class WorkFileCommands;

class PictureCommands : public EditorPart {
  public:
    PictureCommands(Workbench& w, WorkFileCommands& workFiles)
        : EditorPart(w), workFiles_(workFiles) {}

    void LoadBMPClick();
    // The rest of LoadBMPClick once the file is chosen (also for a file named
    // from outside): asks first when the picture would take a surface beyond
    // the budget, reads it whole before anything is let go. True when it
    // became the under-drawing.
    bool LoadPictureFile(const QString& file);
    // The rest of LoadBMPClick once the picture is read.
    void UsePicture(QImage img);
    void BMPpasteClick();
    void BMPshowhideClick();
    void BMPclearClick();
    void BMPmonotoneClick();
    void BMPexpandClick();
    QRgb LastMonotoneColour = 0xFF000000;

    // After a new picture went into temps.picture: present, shown, commands on.
    void PictureStored();
    // The negative, with the hourglass and the progress bar.
    void RunInversion(QImage& img);

    // The file the under-drawing was last read from: traced instead of the
    // stored 16 colours while the picture is still that file's.
    QString pictureFile_;

  private:
    WorkFileCommands& workFiles_;
};
