#include "support/message_hooks.h"

#include <utility>

#include "support/core/file_stem.h"
#include "support/program_path.h"

namespace va {
namespace {

struct Hooks {
    CaptionHook caption;
    IconHook icon;
    ResourceModuleHook resourceModule;
    ModalHook modal;
    QuietHook quiet;
    OwnerHook owner;

    std::function<std::wstring()> applicationName;
    std::function<std::wstring()> ownVersionText;
    std::function<bool()> userDefaultRightToLeft;
    std::function<bool()> currentRightToLeft;
};

std::wstring DefaultCaption();

void SetDefaults(Hooks& hooks)
{
    hooks = Hooks{};
    hooks.caption = DefaultCaption;
    hooks.resourceModule = [] { return static_cast<HINSTANCE>(::GetModuleHandleW(nullptr)); };
    hooks.quiet = [] { return false; };
}

// Created on first use, so boxes shown during static initialisation already
// find the defaults.
Hooks& TheHooks()
{
    static Hooks hooks = [] {
        Hooks h;
        SetDefaults(h);
        return h;
    }();
    return hooks;
}

template <class F>
void Replace(F& slot, F hook)
{
    // Move the old one out first: it is destroyed after the new one is in
    // place, even when destroying it shows a box.
    F old = std::exchange(slot, std::move(hook));
}

std::wstring DefaultCaption()
{
    Hooks& hooks = TheHooks();
    if (auto source = hooks.applicationName) {
        std::wstring name = source();
        if (!name.empty())
            return name;
    }
    if (auto source = hooks.ownVersionText) {
        std::wstring text = source();
        if (!text.empty())
            return text;
    }
    return ProgramFileStem();
}

}  // namespace

void SetCaptionHook(CaptionHook hook) { Replace(TheHooks().caption, std::move(hook)); }
void SetIconHook(IconHook hook) { Replace(TheHooks().icon, std::move(hook)); }
void SetModalHook(ModalHook hook) { Replace(TheHooks().modal, std::move(hook)); }
void SetQuietHook(QuietHook hook) { Replace(TheHooks().quiet, std::move(hook)); }
void SetOwnerHook(OwnerHook hook) { Replace(TheHooks().owner, std::move(hook)); }

void SetApplicationNameSource(std::function<std::wstring()> source)
{
    Replace(TheHooks().applicationName, std::move(source));
}
void SetOwnVersionTextSource(std::function<std::wstring()> source)
{
    Replace(TheHooks().ownVersionText, std::move(source));
}
void SetUserDefaultRightToLeftSource(std::function<bool()> source)
{
    Replace(TheHooks().userDefaultRightToLeft, std::move(source));
}
void SetCurrentRightToLeftSource(std::function<bool()> source)
{
    Replace(TheHooks().currentRightToLeft, std::move(source));
}

void InstallDefaultMessageHooks()
{
    Hooks old = std::move(TheHooks());
    SetDefaults(TheHooks());
}

// Each answer calls a copy, so a hook that replaces itself stays alive
// until it returns.
std::wstring CaptionFromHook()
{
    auto hook = TheHooks().caption;
    return hook ? hook() : DefaultCaption();
}

HICON IconFromHook()
{
    auto hook = TheHooks().icon;
    return hook ? hook() : nullptr;
}

HINSTANCE ResourceModuleFromHook()
{
    auto hook = TheHooks().resourceModule;
    HINSTANCE module = hook ? hook() : nullptr;
    return module ? module : static_cast<HINSTANCE>(::GetModuleHandleW(nullptr));
}

void NotifyModal(bool enableModeless)
{
    if (auto hook = TheHooks().modal)
        hook(enableModeless);
}

bool QuietFromHook()
{
    auto hook = TheHooks().quiet;
    return hook && hook();
}

std::optional<OwnerWindows> OwnerFromHook()
{
    auto hook = TheHooks().owner;
    if (!hook)
        return std::nullopt;
    return hook();
}

bool UserDefaultRightToLeft()
{
    auto source = TheHooks().userDefaultRightToLeft;
    return source && source();
}

bool CurrentRightToLeft()
{
    auto source = TheHooks().currentRightToLeft;
    return source && source();
}

std::wstring ProgramFileStem()
{
    return FileStem(ProgramPath());
}

}  // namespace va
