#pragma once
// Stand-ins for the Install page and the string tables, for the engine's
// step tests: they record what a step shows.

#include <map>
#include <string>
#include <vector>

#include "engine/steps/install_progress.h"

namespace va::test {

class RecordingProgress : public InstallProgress {
public:
    void ShowStatus(const std::wstring& text) override { statuses.push_back(text); }
    void AppendProgressText(const std::wstring& text, bool banner) override
    {
        if (banner)
            text_ += L"<banner>";
        text_ += text;
    }
    const std::wstring& text() const { return text_; }

    std::vector<std::wstring> statuses;

private:
    std::wstring text_;
};

// English texts of the messages the steps use; others can be set per test.
class FixedTexts : public MessageTexts {
public:
    FixedTexts()
    {
        texts_[11] = L"OK";
        texts_[12] = L"Failed";
        texts_[13] = L"Uninstall %1";
        texts_[117] = L"Shortcuts Creation...";
        texts_[118] = L"Registry Data Writing...";
        texts_[131] = L"Mise \u00e0 jour de DirectX...";
    }
    void Set(int number, const std::wstring& text) { texts_[number] = text; }
    std::wstring Message(int number) const override
    {
        const auto found = texts_.find(number);
        return found == texts_.end() ? L"<message " + std::to_wstring(number) + L">" : found->second;
    }

private:
    std::map<int, std::wstring> texts_;
};

}  // namespace va::test
