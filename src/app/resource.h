// Resource identifiers shared by the program and the windows that load them.
#pragma once

#define IDI_VELQUIN 1
