#include "support/exception_text.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <boost/format.hpp>
#include <boost/system/system_error.hpp>

#include "support/core/errno_map.h"
#include "support/core/narrow_text.h"
#include "support/error_text.h"
#include "support/exceptions.h"
#include "support/message_hooks.h"
#include "support/resource_string.h"

namespace va {
namespace {

std::wstring ProgramString(std::uint32_t id)
{
    return LoadResourceString(ResourceModuleFromHook(), id);
}

// "%1% (%2%: %3%)": the general text, the code and what the exception says.
std::wstring Composite(int code, const char* what)
{
    return (boost::wformat(L"%1% (%2%: %3%)") % ProgramString(kStringNoErrorMessage) % code %
            WidenExceptionText(what ? what : ""))
        .str();
}

enum class CategoryKind { System, Generic, Other };

std::wstring CodeText(int code, CategoryKind kind, const char* what)
{
    switch (kind) {
    case CategoryKind::System:
        return ErrorText(static_cast<DWORD>(code));
    case CategoryKind::Generic:
        if (const auto target = MapErrno(code)) {
            if (target->kind == ErrnoTarget::Kind::WindowsCode)
                return ErrorText(target->value);
            return ProgramString(target->value);
        }
        break;
    case CategoryKind::Other:
        break;
    }
    return Composite(code, what);
}

CategoryKind KindOf(const std::error_category& category)
{
    if (category == std::system_category())
        return CategoryKind::System;
    if (category == std::generic_category())
        return CategoryKind::Generic;
    return CategoryKind::Other;
}

CategoryKind KindOf(const boost::system::error_category& category)
{
    if (category == boost::system::system_category())
        return CategoryKind::System;
    if (category == boost::system::generic_category())
        return CategoryKind::Generic;
    return CategoryKind::Other;
}

std::wstring SystemErrorOf(const std::system_error& error)
{
    return CodeText(error.code().value(), KindOf(error.code().category()), error.what());
}

}  // namespace

std::wstring ExceptionText(const std::exception& error)
{
    if (const auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
        const std::wstring path = fs->path1().wstring();
        if (!path.empty())
            return (boost::wformat(L"%1% (%2%)") % SystemErrorOf(*fs) % path).str();
        return SystemErrorOf(*fs);
    }
    if (const auto* system = dynamic_cast<const std::system_error*>(&error))
        return SystemErrorOf(*system);
    if (const auto* system = dynamic_cast<const boost::system::system_error*>(&error))
        return CodeText(system->code().value(), KindOf(system->code().category()), system->what());
    if (const auto* archive = dynamic_cast<const boost::archive::archive_exception*>(&error))
        return Composite(static_cast<int>(archive->code), archive->what());
    if (dynamic_cast<const va::exception*>(&error) || dynamic_cast<const details::_simple_exception*>(&error)) {
        std::wstring text = WidenExceptionText(error.what());
        return text.empty() ? ProgramString(kStringNoErrorMessage) : text;
    }
    if (dynamic_cast<const std::invalid_argument*>(&error))
        return ErrorText(ERROR_INVALID_PARAMETER);
    if (dynamic_cast<const std::logic_error*>(&error))
        return ProgramString(kStringInternalError);
    return ProgramString(kStringNoErrorMessage);
}

std::wstring ExceptionText(const std::exception_ptr& error)
{
    if (!error)
        return ProgramString(kStringNoErrorMessage);
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return ExceptionText(e);
    } catch (...) {
        return ProgramString(kStringNoErrorMessage);
    }
}

}  // namespace va
