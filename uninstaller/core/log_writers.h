#pragma once
// Who besides the administrators may change the uninstall log.  The log
// tells an elevated program what to delete: a log that a standard user can
// write is no more trusted than one the user wrote.  Older installations in
// a folder of their own choosing (one that let every signed-in user modify
// what it holds) left such logs behind.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace va::uninstall {

// One entry of a file's access list, its SID in text form ("S-1-5-32-544").
struct LogAccessEntry {
    std::wstring sid;
    std::uint32_t mask = 0;
    bool allows = true;
    bool inheritOnly = false;  // for what is made inside; not the file's own
};

struct LogAccess {
    std::wstring owner;
    bool hasList = true;  // false: no access list at all, everyone may do everything
    std::vector<LogAccessEntry> entries;
};

// Rights that change what the log says or who may change it.
inline constexpr std::uint32_t kLogChangingRights = 0x00000002u     // write data
                                                    | 0x00000004u   // append data
                                                    | 0x00010000u   // delete
                                                    | 0x00040000u   // change the access list
                                                    | 0x00080000u   // take ownership
                                                    | 0x10000000u   // generic all
                                                    | 0x40000000u;  // generic write

// The first SID other than Administrators, SYSTEM and TrustedInstaller that
// may change the log: an owner outside those (an owner may always rewrite
// the list), unless it is `runningAccount`, the administrator running the
// uninstaller; or an allowing entry with a changing right for anyone else
// (denying entries are not weighed: a list that needs them to keep users
// out is refused too).  "S-1-1-0"
// (Everyone) when there is no list.  Empty when nobody else may.
std::wstring UntrustedLogWriter(const LogAccess& access, std::wstring_view runningAccount);

}  // namespace va::uninstall
