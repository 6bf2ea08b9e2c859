#include "platform/ui/contrast.h"

namespace platform {

COLORREF Resolve(DrawColour colour) {
    return colour.IsSystem() ? ::GetSysColor(colour.system) : colour.fixed;
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{sizeof contrast};
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace platform
