#pragma once
// The one header through which the project sees the platform. The build defines
// WIN32_LEAN_AND_MEAN, NOMINMAX and STRICT; we use the 8-bit (A) interfaces throughout.
#include <windows.h>
