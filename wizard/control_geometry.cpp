#include "wizard/control_geometry.h"

namespace va {

RECT RectInDialog(HWND dialog, HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void GrowControl(HWND dialog, int id, int dx, int dy)
{
    HWND item = ::GetDlgItem(dialog, id);
    if (!item)
        return;
    const RECT r = RectInDialog(dialog, item);
    ::MoveWindow(item, r.left, r.top, r.right - r.left + dx, r.bottom - r.top + dy, FALSE);
}

void MoveControl(HWND dialog, int id, int dx, int dy)
{
    HWND item = ::GetDlgItem(dialog, id);
    if (!item)
        return;
    const RECT r = RectInDialog(dialog, item);
    ::MoveWindow(item, r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top, FALSE);
}

}  // namespace va
