// The host's layout: every page fills one area right of the white band and
// above the line, as large as the largest page; the host grows once to
// hold it, and the band, the line and the buttons follow.

#include <vector>

#include "resources/installer_ids.h"
#include "wizard/control_geometry.h"
#include "wizard/core/page_area.h"
#include "wizard/install_dlg.h"

namespace va {

void CInstallDlg::LayOutPages()
{
    HWND self = GetSafeHwnd();
    RECT client{};
    ::GetClientRect(self, &client);
    const RECT band = RectInDialog(self, GetDlgItem(IDC_SIDE_BAND));
    const RECT line = RectInDialog(self, GetDlgItem(IDC_SEPARATOR));
    const Box area{band.right, client.top, client.right, line.top};

    constexpr UINT kPlace = SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;
    std::vector<Size> sizes;
    for (CWizardPage* page : pages_) {
        ::SetWindowPos(*page, nullptr, area.left, area.top, 0, 0, kPlace);
        const RECT r = RectInDialog(self, *page);
        sizes.push_back({r.right - r.left, r.bottom - r.top});
    }
    const PageArea fit = FitPages(area, sizes);

    RECT window{};
    ::GetWindowRect(self, &window);
    constexpr UINT kResize = SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;
    ::SetWindowPos(self, nullptr, 0, 0, window.right - window.left + fit.dx, window.bottom - window.top + fit.dy,
                   kResize);

    const Box& u = fit.pages;
    for (CWizardPage* page : pages_) {
        const RECT r = RectInDialog(self, *page);
        ::MoveWindow(*page, u.left, u.top, u.Width(), u.Height(), FALSE);
        page->ExtendLayout(u.Width() - (r.right - r.left), u.Height() - (r.bottom - r.top));
    }

    GrowControl(self, IDC_SIDE_BAND, 0, fit.dy);
    GrowControl(self, IDC_SEPARATOR, fit.dx, 0);
    MoveControl(self, IDC_SEPARATOR, 0, fit.dy);
    for (int button : {IDC_BACK, IDOK, IDCANCEL})
        MoveControl(self, button, fit.dx, fit.dy);
}

}  // namespace va
