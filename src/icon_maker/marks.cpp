// The marks' shapes as signed distances (negative inside), so every edge is anti-aliased
// exactly at every size: a pixel's coverage is how far its centre lies inside the edge.
#include "icon_maker/marks.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace icon_maker {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Point {
    double x, y;
};

struct MarkInfo {
    Mark mark;
    std::uint8_t face[3];  // blue, green, red: dark enough for a white sign to stand out
};
constexpr MarkInfo kInfo[] = {
    {Mark::Done, {0x3e, 0x8e, 0x1e}},    {Mark::Important, {0x25, 0x30, 0xd0}},
    {Mark::Waiting, {0xd8, 0x66, 0x14}}, {Mark::Cancelled, {0x68, 0x63, 0x5f}},
    {Mark::Star, {0x00, 0x5c, 0xb0}},    {Mark::Heart, {0x5b, 0x18, 0xc2}},
    {Mark::Private, {0x4f, 0x47, 0x37}}, {Mark::Question, {0xa2, 0x1f, 0x7b}},
};

double Length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

double Segment(Point p, Point a, Point b) {
    const double bx = b.x - a.x, by = b.y - a.y, px = p.x - a.x, py = p.y - a.y;
    const double t = std::clamp((px * bx + py * by) / (bx * bx + by * by), 0.0, 1.0);
    return Length(px - bx * t, py - by * t);
}

double Disc(Point p, Point c, double r) {
    return Length(p.x - c.x, p.y - c.y) - r;
}

// Distance to an arc of the circle (c, r) made of whole quarters: bit 0 the upper left, 1 the
// upper right, 2 the lower right, 3 the lower left (y down); from and to are its ends. No
// angles, so no trigonometry for each pixel.
double Arc(Point p, Point c, double r, unsigned quarters, Point from, Point to) {
    const double dx = p.x - c.x, dy = p.y - c.y;
    const unsigned quarter = dy < 0 ? (dx < 0 ? 0 : 1) : (dx < 0 ? 3 : 2);
    if (quarters & (1u << quarter))
        return std::fabs(Length(dx, dy) - r);
    return std::min(Length(p.x - from.x, p.y - from.y), Length(p.x - to.x, p.y - to.y));
}

// Signed distance to a closed polygon: the nearest edge, negative inside (even-odd).
template <typename Points>
double Polygon(Point p, const Points& v) {
    double nearest = 1e9;
    bool inside = false;
    const size_t n = std::size(v);
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        nearest = std::min(nearest, Segment(p, v[j], v[i]));
        if ((v[i].y > p.y) != (v[j].y > p.y) &&
            p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
            inside = !inside;
    }
    return inside ? -nearest : nearest;
}

double RoundedBox(Point p, Point c, double halfWidth, double halfHeight, double radius) {
    const double qx = std::fabs(p.x - c.x) - halfWidth + radius;
    const double qy = std::fabs(p.y - c.y) - halfHeight + radius;
    return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

// The sign's distance at p, in units of the badge face's radius (centre 0, y down); stroke is
// the width of its lines. Small badges leave out what would blur into the face.
double Sign(Mark mark, Point p, double stroke, bool small) {
    const double half = stroke / 2;
    switch (mark) {
        case Mark::Done:
            return std::min(Segment(p, {-0.48, 0.02}, {-0.14, 0.36}),
                            Segment(p, {-0.14, 0.36}, {0.5, -0.32})) -
                   half;
        case Mark::Important:
            return std::min(Segment(p, {0, -0.56}, {0, small ? 0.08 : 0.14}) - half,
                            Disc(p, {0, small ? 0.48 : 0.46}, stroke * 0.62));
        case Mark::Waiting: {
            const double hands = std::min(Segment(p, {0, 0}, {0, small ? -0.6 : -0.42}),
                                          Segment(p, {0, 0}, {small ? 0.46 : 0.3, 0})) -
                                 half;
            if (small)
                return hands;  // the face itself is the clock's round
            return std::min(hands, std::fabs(Length(p.x, p.y) - 0.62) - stroke * 0.4);
        }
        case Mark::Cancelled:
            return std::min(Segment(p, {-0.42, -0.42}, {0.42, 0.42}),
                            Segment(p, {0.42, -0.42}, {-0.42, 0.42})) -
                   half;
        case Mark::Star: {
            // Its points, worked out once for each of the two sizes.
            static const auto kPoints = [] {
                std::array<std::array<Point, 10>, 2> points{};
                for (int size = 0; size < 2; ++size)
                    for (int i = 0; i < 10; ++i) {
                        const double angle = -kPi / 2 + i * kPi / 5;
                        const double r = i % 2 ? (size ? 0.4 : 0.3) : (size ? 0.86 : 0.74);
                        points[size][i] = {r * std::cos(angle), 0.06 + r * std::sin(angle)};
                    }
                return points;
            }();
            return Polygon(p, kPoints[small]);
        }
        case Mark::Heart: {
            const double s = small ? 1.15 : 1.0;
            const Point q{p.x / s, p.y / s};
            const Point v[] = {{-0.55, -0.08}, {0.55, -0.08}, {0, 0.58}};
            return s * std::min({Disc(q, {-0.27, -0.18}, 0.3), Disc(q, {0.27, -0.18}, 0.3),
                                 Polygon(q, v)});
        }
        case Mark::Private: {
            const double body = RoundedBox(p, {0, 0.22}, 0.46, 0.32, 0.08);
            const double shackle =
                std::min(Arc(p, {0, -0.16}, 0.27, 0b0011, {-0.27, -0.16}, {0.27, -0.16}),
                         std::min(Segment(p, {-0.27, -0.16}, {-0.27, 0}),
                                  Segment(p, {0.27, -0.16}, {0.27, 0}))) -
                stroke * 0.45;
            const double lock = std::min(body, shackle);
            return small ? lock : std::max(lock, -Disc(p, {0, 0.18}, 0.09));  // the keyhole
        }
        case Mark::Question:
            // The hook: the upper half and the lower right quarter, down to its foot.
            return std::min({Arc(p, {0, -0.22}, 0.28, 0b0111, {-0.28, -0.22}, {0, 0.06}) - half,
                             Segment(p, {0, 0.06}, {0, small ? 0.14 : 0.2}) - half,
                             Disc(p, {0, small ? 0.5 : 0.48}, stroke * 0.62)});
        case Mark::None:
            break;
    }
    return 1e9;
}

// What of a pixel a shape covers, from the distance of the pixel's centre to its edge.
double Coverage(double distance) {
    return std::clamp(0.5 - distance, 0.0, 1.0);
}

}  // namespace

const wchar_t* MarkName(Mark mark) {
    for (const auto& info : kMarkWords)
        if (info.mark == mark)
            return info.name;
    return L"none";
}

std::optional<Mark> ParseMark(std::wstring_view name) {
    for (const auto& info : kMarkWords) {
        const std::wstring_view known = info.name;
        if (::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), known.data(),
                                   static_cast<int>(known.size()), TRUE) == CSTR_EQUAL)
            return info.mark;
    }
    return std::nullopt;
}

std::wstring MarkNames() {
    std::wstring names;
    for (const auto& info : kMarkWords)
        names += (names.empty() ? L"" : L", ") + std::wstring(info.name);
    return names;
}

BadgeColours ColoursOf(Mark mark) {
    BadgeColours colours{{0x40, 0x40, 0x40}, {0xff, 0xff, 0xff}, {0xff, 0xff, 0xff}};
    for (const auto& info : kInfo)
        if (info.mark == mark)
            std::copy(std::begin(info.face), std::end(info.face), colours.face);
    return colours;
}

void DrawMark(std::vector<std::uint8_t>& bgra, int side, Mark mark) {
    if (mark == Mark::None || side < 2 || bgra.size() < static_cast<size_t>(side) * side * 4)
        return;
    // The badge: half the side at small sizes, a little less with a margin above that, and
    // always inside the lower-right quarter.
    const bool small = side <= 24;
    const double diameter = small ? side / 2.0 : std::round(side * 0.44);
    const double margin = small ? 0 : std::round(side * 0.02);
    const double radius = diameter / 2;
    const double cx = side - margin - radius, cy = side - margin - radius;
    // Small, a thinner rim and a smaller sign leave a ring of the face around the sign, whose
    // lines stay about a pixel wide.
    const double rim = small ? 0.75 : std::max(1.5, radius * 0.13);
    const double face = radius - rim;
    const double unit = small ? face * 0.8 : face * 0.92;
    const double stroke = small ? std::max(0.3, 1.0 / unit) : 0.2;
    // A small badge's centre falls between pixels: its sign moves half a pixel onto a pixel's
    // centre, so its upright lines are whole pixels instead of two half-lit ones.
    const double nudge = small ? 0.5 : 0;
    const BadgeColours colours = ColoursOf(mark);

    auto signAt = [&](double px, double py) {  // the sign's distance in pixels
        return Sign(mark, {(px + nudge) / unit, (py + nudge) / unit}, stroke, small) * unit;
    };
    // Block by block: where a block's centre lies further from the sign's edge than any of its
    // pixels can, every pixel is wholly in or out of the sign, and the sign is measured once.
    constexpr int kBlock = 4;
    for (int top = side / 2; top < side; top += kBlock)
        for (int left = side / 2; left < side; left += kBlock) {
            const int right = std::min(left + kBlock, side), bottom = std::min(top + kBlock, side);
            const double mx = (left + right) / 2.0 - cx, my = (top + bottom) / 2.0 - cy;
            const double reach = Length(right - left, bottom - top) / 2 + 0.5;
            if (Length(mx, my) - radius > reach)
                continue;  // wholly outside the badge
            const double blockSign = signAt(mx, my);
            const double wholly = blockSign > reach ? 0 : blockSign < -reach ? 1 : -1;
            for (int y = top; y < bottom; ++y)
                for (int x = left; x < right; ++x) {
                    const double px = x + 0.5 - cx, py = y + 0.5 - cy;
                    const double distance = Length(px, py);
                    const double outer = Coverage(distance - radius);
                    if (outer <= 0)
                        continue;
                    const double inFace = Coverage(distance - face);
                    const double inSign =
                        inFace * (wholly >= 0 ? wholly : Coverage(signAt(px, py)));
                    std::uint8_t* d = &bgra[(static_cast<size_t>(y) * side + x) * 4];
                    const double below = d[3] / 255.0;
                    const double alpha = outer + below * (1 - outer);
                    for (int c = 0; c < 3; ++c) {
                        double colour =
                            colours.rim[c] + (colours.face[c] - colours.rim[c]) * inFace;
                        colour += (colours.sign[c] - colour) * inSign;
                        d[c] = static_cast<std::uint8_t>(
                            std::lround((colour * outer + d[c] * below * (1 - outer)) / alpha));
                    }
                    d[3] = static_cast<std::uint8_t>(std::lround(alpha * 255));
                }
        }
}

}  // namespace icon_maker
