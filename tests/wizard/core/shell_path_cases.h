#pragma once
// Inputs and answers of the shell's path rules, shared by the native tests
// of wizard/core/shell_path.h and by the test that holds the same table
// against the shell's own functions under Windows.

namespace va::test {

struct ComponentCase {
    const wchar_t* path;
    const wchar_t* lastComponent;    // PathFindFileNameW
    const wchar_t* withoutLast;      // PathRemoveFileSpecW
    bool removed;
    const wchar_t* withoutBackslash;  // PathRemoveBackslashW
};

inline constexpr ComponentCase kComponentCases[] = {
    {L"C:\\Apps\\Trelvane 7", L"Trelvane 7", L"C:\\Apps", true, L"C:\\Apps\\Trelvane 7"},
    {L"C:\\Apps\\", L"Apps\\", L"C:\\Apps", true, L"C:\\Apps"},
    {L"C:\\Apps", L"Apps", L"C:\\", true, L"C:\\Apps"},
    {L"C:\\", L"C:\\", L"C:\\", false, L"C:\\"},
    {L"C:", L"C:", L"C:", false, L"C:"},
    {L"Apps", L"Apps", L"", true, L"Apps"},
    {L"Maker\\Trelvane 7", L"Trelvane 7", L"Maker", true, L"Maker\\Trelvane 7"},
    {L"\\Apps", L"Apps", L"\\", true, L"\\Apps"},
    {L"\\", L"\\", L"\\", false, L"\\"},
    {L"\\\\server\\share\\dir", L"dir", L"\\\\server\\share", true, L"\\\\server\\share\\dir"},
    {L"\\\\server\\share\\", L"share\\", L"\\\\server\\share", true, L"\\\\server\\share"},
};

struct CanonicalCase {
    const wchar_t* path;
    const wchar_t* canonical;  // PathCanonicalizeW
};

inline constexpr CanonicalCase kCanonicalCases[] = {
    {L".\\Programs\\Maker", L"Programs\\Maker"},
    {L".\\Programs\\", L"Programs\\"},
    {L"C:\\a\\..\\b", L"C:\\b"},
    {L"C:\\a\\.\\b\\", L"C:\\a\\b\\"},
    {L"C:\\..\\b", L"C:\\b"},
    {L"C:\\a\\b\\..\\..", L"C:\\"},
    {L"C:", L"C:\\"},
    {L"C:\\", L"C:\\"},
    {L"Programs", L"Programs"},
    {L"\\\\server\\share\\a\\..\\b", L"\\\\server\\share\\b"},
};

struct CombineCase {
    const wchar_t* folder;
    const wchar_t* file;
    const wchar_t* combined;  // PathCombineW
};

inline constexpr CombineCase kCombineCases[] = {
    {L"C:\\SM", L"Programs\\Maker", L"C:\\SM\\Programs\\Maker"},
    {L"C:\\SM\\", L"Programs", L"C:\\SM\\Programs"},
    {L"C:\\SM", L"", L"C:\\SM"},
    {L"C:\\SM", L"D:\\Menu", L"D:\\Menu"},
    {L"C:\\SM", L"\\Top", L"C:\\Top"},
    {L"C:\\SM", L"..\\Other", L"C:\\Other"},
    {L"C:\\", L"Trelvane 7", L"C:\\Trelvane 7"},
    {L"D:", L"Trelvane 7", L"D:\\Trelvane 7"},
    {L"\\\\server\\share", L"dir", L"\\\\server\\share\\dir"},
};

struct RelativeCase {
    const wchar_t* from;
    const wchar_t* to;
    const wchar_t* relative;  // PathRelativePathToW between folders; null: fails
};

inline constexpr RelativeCase kRelativeCases[] = {
    {L"C:\\SM", L"C:\\SM\\Programs\\Maker", L".\\Programs\\Maker"},
    {L"C:\\SM", L"C:\\SM", L"."},
    {L"C:\\SM", L"c:\\sm\\programs", L".\\programs"},
    {L"C:\\SM", L"C:\\Other", L"..\\Other"},
    {L"C:\\SM\\Deep", L"C:\\Other\\X", L"..\\..\\Other\\X"},
    {L"C:\\SM", L"C:\\SM Other", L"..\\SM Other"},
    {L"C:\\", L"C:\\Apps", L".\\Apps"},
    {L"C:\\SM", L"D:\\Menu", nullptr},
    {L"\\\\server\\share", L"\\\\server\\share\\dir", L".\\dir"},
    {L"\\\\server\\share", L"C:\\dir", nullptr},
};

struct PrefixCase {
    const wchar_t* a;
    const wchar_t* b;
    int length;  // PathCommonPrefixW
};

inline constexpr PrefixCase kPrefixCases[] = {
    {L"C:\\SM\\Programs", L"C:\\SM", 5},
    {L"C:\\sm\\Programs", L"C:\\SM", 5},
    {L"C:\\SM Other", L"C:\\SM", 3},
    {L"C:\\SM", L"D:\\SM", 0},
    {L"C:\\", L"C:\\", 3},
    {L"\\\\server\\share\\x", L"\\\\server\\share", 14},
    {L"\\\\server\\x", L"C:\\x", 0},
};

}  // namespace va::test
