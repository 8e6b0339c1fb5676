#pragma once
// The text log that "/log=FILE" asks for, in the installer and in the
// uninstaller: UTF-8, one line per event, each with its local time.  The
// uninstaller's copy appends to the same file.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

class RunLog {
public:
    // An empty path makes a log that writes nothing.  False (with the
    // error) when the file cannot be made.
    bool Open(const std::wstring& path, bool append, DWORD& error);
    void Line(const std::wstring& text);
    void Close() { file_.reset(); }
    bool IsOpen() const { return static_cast<bool>(file_); }

private:
    UniqueFile file_;
};

}  // namespace va
