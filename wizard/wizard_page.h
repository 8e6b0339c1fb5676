#pragma once
// What every page of the wizard offers its host.  A page is a child dialog
// in the host's page area; the host creates it once, shows one page at a
// time, and moves data between the pages and the session through each
// page's DoDataExchange: the load direction (UpdateData(FALSE)) when the
// page is entered, the save direction (UpdateData(TRUE)), which may refuse,
// when it is left.

#include <string>

#include "framework/dialog.h"

namespace va {

class CWizardPage : public CDialog {
public:
    explicit CWizardPage(UINT templateId) : CDialog(templateId) {}

    // Sets every language-dependent text from the current interface language.
    virtual void UpdateTexts() = 0;
    // The page has been made dx pixels wider and dy pixels taller than its
    // template: its controls follow.
    virtual void ExtendLayout(int dx, int dy) = 0;

protected:
    void SetItemText(int id, const std::wstring& text) const;
    // Moves the right and bottom edges of control `id`.
    void GrowItem(int id, int dx, int dy) const;
    // Moves the whole control `id`.
    void MoveItem(int id, int dx, int dy) const;

    // Enter and Escape belong to the host's buttons, never to a page.
    void OnOK() override {}
    void OnCancel() override {}
};

}  // namespace va
