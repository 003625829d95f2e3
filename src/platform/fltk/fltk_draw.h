// Text measuring and drawing of the FLTK backend that stay within the limits of X, on any length.
#pragma once

namespace zs::gui::fltk {

// Makes FLTK measure and draw every text through a driver that takes a long text in pieces and
// sends only the part that can show: the editor's long line, drawn whole in one request, made
// the X server refuse it and end the program, and its width overflowed the 16 bits the X font
// library measures in. Once, on the UI thread, before anything is drawn.
void installClippedTextDrawing();

}  // namespace zs::gui::fltk
