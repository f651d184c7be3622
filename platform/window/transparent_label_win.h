// A label without a background of its own, lying over an edit box: the
// box shows through, and the label's text is drawn over it.
//
// The label itself paints nothing. The box below paints the label's area
// too (it does not clip its sibling away), and right after each of its paints
// the label's text is drawn onto exactly the pixels that were repainted, so
// the text is drawn once on fresh pixels whatever order the two windows paint
// in. When the label needs painting it has the box below repaint its area.
// When the box below changes what it shows (typing, selecting, scrolling),
// which edit boxes also draw outside WM_PAINT, the label's area is repainted
// whole.
#pragma once

#include <windows.h>

namespace tarnwell {

// `label` is a STATIC control lying above its sibling `below`, an edit box,
// in the stacking order. The label takes its text colour from its parent's
// WM_CTLCOLORSTATIC answer and its font from WM_SETFONT, and lays its text
// out as a left-aligned static control does (line breaks kept, long lines
// wrapped).
void MakeTransparentLabel(HWND label, HWND below);

}  // namespace tarnwell
