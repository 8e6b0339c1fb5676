// The headers nearly every test program includes, compiled once for all of
// them: parsing these is most of a test file's compile time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#endif
