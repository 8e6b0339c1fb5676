#include "support/win_error.h"

#include <system_error>

namespace va {

void ThrowWin32(DWORD code)
{
    throw std::system_error(static_cast<int>(code), std::system_category());
}

void ThrowHresult(hresult_t hr)
{
    throw std::system_error(static_cast<int>(hr), std::system_category());
}

void ThrowLastErrorAsHresult()
{
    ThrowHresult(HresultFromWin32(static_cast<std::int32_t>(::GetLastError())));
}

}  // namespace va
