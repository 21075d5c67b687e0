// Reading the picture back in the drawing tests: colours, how near two of them are, and
// where a point of the scene lands in the 800x600 window from the game's fixed view
// (eye at z 2.41 looking down -z, 45 degrees high, 4:3).
#pragma once

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <ostream>

namespace test_pixels
{

struct Rgb
{
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Every channel within the tolerance: drivers round blends a step or two apart.
inline bool Within(const Rgb& a, const Rgb& b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// Window pixels, x from the left, y from the bottom as GL counts.
inline void ToWindow(float x, float y, float z, float& wx, float& wy)
{
    const float f = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    const float d = 2.41f - z;
    wx = (f / (4.0f / 3.0f) * x / d + 1.0f) * 400.0f;
    wy = (f * y / d + 1.0f) * 300.0f;
}

inline Rgb ReadWindow(int wx, int wy)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glReadPixels(wx, wy, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}

inline Rgb ReadScene(float x, float y, float z = 0.0f)
{
    float wx, wy;
    ToWindow(x, y, z, wx, wy);
    return ReadWindow(static_cast<int>(wx), static_cast<int>(wy));
}

} // namespace test_pixels
