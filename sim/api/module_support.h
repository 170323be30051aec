// What the host exports to modules beyond the simulator's headers: a module
// that calls these declares them itself, as the simulator's own support code
// does, so they are declared here only for the host's side.
#pragma once

#include "host/platform.h"

// A module hands the host its instance handle at load.
OAPIFUNC void InitLib(HINSTANCE hModule);
// A build date "Mmm dd yyyy" as (year % 100)*10000 + month*100 + day; 0 when it does not read.
OAPIFUNC int Date2Int(char *date);
