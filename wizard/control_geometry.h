#pragma once
// Moving and growing the controls of a dialog, in its client coordinates,
// without repainting (the layout runs before the window is shown).

#include <windows.h>

namespace va {

// The window's rectangle in the client coordinates of `dialog`.
RECT RectInDialog(HWND dialog, HWND window);
// Moves the right and bottom edges of control `id`.
void GrowControl(HWND dialog, int id, int dx, int dy);
// Moves the whole control `id`.
void MoveControl(HWND dialog, int id, int dx, int dy);

}  // namespace va
