// Painting the work on the drawing surface: the full redraw, the network and
// its marks, the view's centre, the progress bar, and the under-drawing's
// decoded copy.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include "raster/Surface.h"
#include "editor/EditorPart.h"

class Canvas : public EditorPart {
  public:
    using EditorPart::EditorPart;

    // Paints the work anew in the current mode; false when the picture file
    // could not be read (the caller stops). Commands call ReDraw(wb)
    // (editor/Workbench.h), which first leaves line-kind mode.
    bool Repaint();
    void DisplayMap(int lineColour, int pointColour);
    void ShowKinds();
    void RestoreCursor();
    void MarkVertices(uint8_t c);
    void MarkKindVertices();
    void ComposeMessage(const QString& text);
    void CenterViewOn(int x, int y);
    static QString MouseReadout(int x, int y);
    // Places the progress bar at the panel's right end and shows it.
    void ShowProgressBar();
    // What 全体表示 fits: the map's lines, positions and legend, and the
    // under-drawing while it is shown. Empty when there is none of these.
    QRect ContentBounds() const;
    // The under-drawing decoded to palette indices, reused while its file keeps
    // the same name, size and times (a redraw would otherwise decode it anew).
    Surface picPixels_;
    QString picPath_;
    qint64 picSize_ = -1, picMtime_ = 0, picCtime_ = 0;
    // Nobody looks at the surface (the batch tool): a redraw without a picture
    // leaves the pixels alone, since nothing but the eye would read them.
    bool surfaceUnseen = false;
    // Result of the redraw that a mode switch inside ReDraw ran.
    bool lastRedrawOk_ = true;
    bool LoadPictureCached(QString* error);
};
