// The under-drawing's pixel work, apart from the commands: the negative, the
// one-colour ink and the doubling into a lattice. Each steps the progress bar
// about ten times (five per direction for the lattice).
#pragma once

#include <QImage>

class Progress;
class Surface;

// Coordinates are 16-bit, so no side of a picture may exceed this.
constexpr int MaxPictureSide = 32767;

// The picture's negative, in its own pixel format: each colour channel c of a
// true-colour pixel becomes 255 - c; a palette picture keeps its indices and
// gets the negative of every palette colour instead. Alpha is kept.
void InvertPicture(QImage& img, Progress* progress);

// Paints every pixel that is not exactly black (0, 0, 0) in colour c. A
// palette picture gets the index of its palette colour nearest to c.
void MonotonePicture(QImage& img, QRgb c, Progress* progress);

// Doubles the picture onto out (resized to 2w x 2h) so that each source pixel
// (x, y) survives only at (2x + 1, 2y + 1), reduced to the 16 colours, and
// every even row and column is black. False when the doubled size is beyond
// MaxPictureSide or the memory cannot be had (out is then unchanged).
bool ExpandPicture(const QImage& img, Surface& out, Progress* progress);
