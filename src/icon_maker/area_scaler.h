// Resampling by area: every destination pixel is the average of the source area it covers,
// so a fine pattern turns to its average colour instead of aliasing. Rows are fed one at a
// time, so a large picture never has to be held whole.
#pragma once

#include <vector>

namespace icon_maker {

class AreaScaler {
  public:
    AreaScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight);

    // Source row y (rows may come in any order, each once): srcWidth pixels of four
    // premultiplied channels.
    void AddRow(int y, const float* pixels);
    // The same from bytes, as a decoder hands them over.
    void AddRow(int y, const unsigned char* pixels);
    // dstWidth * dstHeight pixels of four channels, complete once every row was added.
    const std::vector<float>& Result() const { return out_; }
    int width() const { return dstWidth_; }
    int height() const { return dstHeight_; }

  private:
    struct Share {
        int dst;
        float weight;
    };
    // For each source pixel along one axis, the destination pixels it covers and by how much.
    static std::vector<std::vector<Share>> Shares(int srcLength, int dstLength);
    // Shrinking, a source pixel covers at most two destination pixels, side by side: the
    // shares of a column then fit in one flat entry (the hot loop of a large picture).
    struct Pair {
        int dst;
        float first, second;  // second goes to dst + 1
    };
    template <typename T>
    void AddRowOf(int y, const T* pixels);

    int dstWidth_, dstHeight_;
    std::vector<std::vector<Share>> columns_, rows_;
    std::vector<Pair> pairs_;  // filled when every column fits in a pair
    std::vector<float> row_, out_;
};

}  // namespace icon_maker
