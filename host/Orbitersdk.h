// Everything a vessel module includes.
#pragma once

#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "platform.h"
