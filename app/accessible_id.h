// IID_IAccessible, {618736E0-3C3D-11CF-810C-00AA00389B71}, defined here: the
// one in MinGW's static oleacc library comes out as the bytes of an import
// thunk when linked statically, and marshalling then fails.
#pragma once

#include <windows.h>

inline constexpr IID AccessibleId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
