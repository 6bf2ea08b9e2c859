#include "icon_maker/area_scaler.h"

#include <algorithm>
#include <cmath>

namespace icon_maker {

AreaScaler::AreaScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight)
    : dstWidth_(dstWidth),
      dstHeight_(dstHeight),
      columns_(Shares(srcWidth, dstWidth)),
      rows_(Shares(srcHeight, dstHeight)),
      row_(static_cast<size_t>(dstWidth) * 4),
      out_(static_cast<size_t>(dstWidth) * dstHeight * 4) {}

std::vector<std::vector<AreaScaler::Share>> AreaScaler::Shares(int srcLength, int dstLength) {
    // Destination pixel j spans [j * scale, (j + 1) * scale) in source pixels; source pixel i
    // gives it the part of [i, i + 1) inside that span, over the span's length.
    const double scale = static_cast<double>(srcLength) / dstLength;
    std::vector<std::vector<Share>> shares(static_cast<size_t>(srcLength));
    for (int i = 0; i < srcLength; ++i) {
        const int first = std::min(dstLength - 1, static_cast<int>(i / scale));
        for (int j = first; j < dstLength && j * scale < i + 1; ++j) {
            const double overlap = std::min<double>(i + 1, (j + 1) * scale) -
                                   std::max<double>(i, j * scale);
            if (overlap > 0)
                shares[i].push_back({j, static_cast<float>(overlap / scale)});
        }
    }
    return shares;
}

void AreaScaler::AddRow(int y, const float* pixels) {
    std::fill(row_.begin(), row_.end(), 0.0f);
    for (size_t x = 0; x < columns_.size(); ++x) {
        const float* p = pixels + x * 4;
        for (const Share& s : columns_[x]) {
            float* d = &row_[static_cast<size_t>(s.dst) * 4];
            d[0] += p[0] * s.weight;
            d[1] += p[1] * s.weight;
            d[2] += p[2] * s.weight;
            d[3] += p[3] * s.weight;
        }
    }
    for (const Share& s : rows_[static_cast<size_t>(y)]) {
        float* d = &out_[static_cast<size_t>(s.dst) * dstWidth_ * 4];
        for (size_t k = 0; k < row_.size(); ++k)
            d[k] += row_[k] * s.weight;
    }
}

}  // namespace icon_maker
