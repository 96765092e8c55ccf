#pragma once
#include <QImage>
#include <string>

#include "divedata/draw_list.h"

class QPainter;

namespace ravo::paint {

// Paints a draw list with QPainter, pixel for pixel as the operations say:
// unsmoothed lines through pixel centres, single pixels, opaque text cells in
// the list's font. Needs a QGuiApplication (fonts).
void PaintDrawList(QPainter& painter, const DrawList& list);

// Paints the list into `image`, which is (re)made at the list's size times
// `pixelRatio` (a screen's device pixel ratio: 2 at 200 %) when it is not
// already, so repeated paints of one size allocate nothing. The list's
// pixels are then `pixelRatio` device pixels wide: lines and text stay sharp.
void RenderInto(QImage& image, const DrawList& list, qreal pixelRatio = 1.0);

// The list painted into a new image of its size.
QImage RenderImage(const DrawList& list, qreal pixelRatio = 1.0);

// Paints the list into a PNG file at `path` (its bytes as they are, written
// through a temporary file). False, with the system's reason in `reason`
// (optional), when it cannot be written.
bool WriteDrawListPng(const DrawList& list, const std::string& path, std::string* reason = nullptr);

}  // namespace ravo::paint
