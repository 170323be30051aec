// The Windows names that vessel modules use, in a build against the
// simulator's SDK: the system's own.
#pragma once

#include <windows.h>
