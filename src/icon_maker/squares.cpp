// The eight square images of an icon from its master picture: fitted with the aspect kept,
// centred with transparent margins, shrunk by area averaging.
#include <algorithm>
#include <cmath>

#include "icon_maker/area_scaler.h"
#include "icon_maker/icon_parts.h"

namespace icon_maker {

SIZE FitInto(int width, int height, int side) {
    if (width >= height)
        return {side, std::max(1, static_cast<int>(std::lround(double(side) * height / width)))};
    return {std::max(1, static_cast<int>(std::lround(double(side) * width / height))), side};
}

std::vector<SquareImage> SquaresFrom(const Master& master) {
    std::vector<SquareImage> squares;
    for (int side : kIconSizes) {
        const SIZE fit = FitInto(master.width, master.height, side);
        AreaScaler scaler(master.width, master.height, fit.cx, fit.cy);
        for (int y = 0; y < master.height; ++y)
            scaler.AddRow(y, &master.pixels[static_cast<size_t>(y) * master.width * 4]);
        SquareImage square;
        square.side = side;
        square.bgra.assign(static_cast<size_t>(side) * side * 4, 0);
        const int left = (side - fit.cx) / 2, top = (side - fit.cy) / 2;
        const std::vector<float>& scaled = scaler.Result();
        for (int y = 0; y < fit.cy; ++y)
            for (int x = 0; x < fit.cx; ++x) {
                const float* p = &scaled[(static_cast<size_t>(y) * fit.cx + x) * 4];
                std::uint8_t* d =
                    &square.bgra[(static_cast<size_t>(y + top) * side + x + left) * 4];
                const float alpha = std::clamp(p[3], 0.0f, 255.0f);
                d[3] = static_cast<std::uint8_t>(std::lround(alpha));
                if (d[3] == 0)
                    continue;  // colour of a transparent pixel stays black
                for (int c = 0; c < 3; ++c)
                    d[c] = static_cast<std::uint8_t>(
                        std::lround(std::clamp(p[c] * 255.0f / alpha, 0.0f, 255.0f)));
            }
        squares.push_back(std::move(square));
    }
    return squares;
}

}  // namespace icon_maker
