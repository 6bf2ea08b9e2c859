// The resource script's ids: those of the window layer, which loads them.
#pragma once

#include "../platform/ui/resource_ids.h"
