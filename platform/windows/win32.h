#pragma once
// The Windows API for the Windows implementation of the platform layer, and
// the conversions between its handles and the layer's plain integers.
//
// The API's headers map names such as GetWindowsDirectory or FindWindow to
// their ANSI or Unicode variants with macros. The layer has operations of
// those names itself, so the macros are removed here and the implementation
// calls the ANSI variants by their full names.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef FindWindow
#undef GetPrivateProfileString
#undef GetWindowsDirectory
#undef GlobalAddAtom
#undef GlobalFindAtom
#undef WinHelp
#undef WritePrivateProfileString

#include <cstdint>

namespace platform::win32 {

inline HWND ToHwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }
inline std::uintptr_t FromHwnd(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

inline HANDLE ToHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
inline std::intptr_t FromHandle(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

} // namespace platform::win32
