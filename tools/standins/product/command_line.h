#pragma once
// The switches the product's main program understands.

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct Options {
    bool valid = true;           // false on an unknown or malformed switch
    bool registerTypes = false;  // "/Register"
    bool unregisterTypes = false;  // "/Unregister"
    bool background = false;     // "/Background"
    bool hasUpdate = false;      // "/update=" followed by 16 hexadecimal digits
    std::uint64_t updateFrom = 0;
    std::vector<std::wstring> documents;
};

// `arguments` without the program itself.  "/Register" and "/Unregister"
// together are malformed.
Options ParseArguments(const std::vector<std::wstring>& arguments);
// The process's own arguments, split the way the C runtime splits them.
std::vector<std::wstring> ProcessArguments();

}  // namespace standin
