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
      out_(static_cast<size_t>(dstWidth) * dstHeight * 4) {
    row_.resize(row_.size() + 4);  // room for a pair's second share past the last pixel
    for (const auto& column : columns_) {
        const bool pair =
            column.size() == 1 || (column.size() == 2 && column[1].dst == column[0].dst + 1);
        if (!pair) {
            pairs_.clear();
            return;
        }
        pairs_.push_back(
            {column[0].dst, column[0].weight, column.size() == 2 ? column[1].weight : 0.0f});
    }
}

std::vector<std::vector<AreaScaler::Share>> AreaScaler::Shares(int srcLength, int dstLength) {
    // Destination pixel j spans [j * scale, (j + 1) * scale) in source pixels; source pixel i
    // gives it the part of [i, i + 1) inside that span, over the span's length.
    const double scale = static_cast<double>(srcLength) / dstLength;
    std::vector<std::vector<Share>> shares(static_cast<size_t>(srcLength));
    for (int i = 0; i < srcLength; ++i) {
        const int first = std::min(dstLength - 1, static_cast<int>(i / scale));
        for (int j = first; j < dstLength && j * scale < i + 1; ++j) {
            const double overlap =
                std::min<double>(i + 1, (j + 1) * scale) - std::max<double>(i, j * scale);
            if (overlap > 0)
                shares[i].push_back({j, static_cast<float>(overlap / scale)});
        }
    }
    return shares;
}

void AreaScaler::AddRow(int y, const float* pixels) {
    AddRowOf(y, pixels);
}

void AreaScaler::AddRow(int y, const unsigned char* pixels) {
    AddRowOf(y, pixels);
}

template <typename T>
void AreaScaler::AddRowOf(int y, const T* pixels) {
    std::fill(row_.begin(), row_.end(), 0.0f);
    if (!pairs_.empty()) {
        for (size_t x = 0; x < pairs_.size(); ++x) {
            const T* p = pixels + x * 4;
            const Pair& pair = pairs_[x];
            float* d = &row_[static_cast<size_t>(pair.dst) * 4];
            for (int c = 0; c < 4; ++c)
                d[c] += static_cast<float>(p[c]) * pair.first;
            if (pair.second != 0)
                for (int c = 0; c < 4; ++c)
                    d[4 + c] += static_cast<float>(p[c]) * pair.second;
        }
    } else {
        for (size_t x = 0; x < columns_.size(); ++x) {
            const T* p = pixels + x * 4;
            for (const Share& s : columns_[x]) {
                float* d = &row_[static_cast<size_t>(s.dst) * 4];
                for (int c = 0; c < 4; ++c)
                    d[c] += static_cast<float>(p[c]) * s.weight;
            }
        }
    }
    const size_t width = static_cast<size_t>(dstWidth_) * 4;
    for (const Share& s : rows_[static_cast<size_t>(y)]) {
        float* d = &out_[static_cast<size_t>(s.dst) * width];
        for (size_t k = 0; k < width; ++k)
            d[k] += row_[k] * s.weight;
    }
}

}  // namespace icon_maker
