// A core file that breaks the layer rule: the check must refuse it.
#include "platform/ui/window.h"
