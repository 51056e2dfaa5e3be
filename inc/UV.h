#ifndef KELVO_UV_H
#define KELVO_UV_H

// A texture coordinate pair; v = 0 addresses an image's top row.
class UV {
public:
    UV() : u(0.0f), v(0.0f) {}
    UV(float u, float v) : u(u), v(v) {}
    explicit UV(const float* values) : u(values[0]), v(values[1]) {}
    UV(const UV& other) = default;
    UV& operator=(const UV& other) = default;

    // u for 0, v for any other index.
    float get(int i) const { return i == 0 ? u : v; }
    UV get() const { return *this; }
    void set(float u, float v)
    {
        this->u = u;
        this->v = v;
    }

    // Range tests on texture coordinates: both components must satisfy the comparison.
    bool operator<=(const UV& w) const { return u <= w.u && v <= w.v; }
    bool operator>=(const UV& w) const { return u >= w.u && v >= w.v; }
    bool operator==(const UV& w) const { return u == w.u && v == w.v; }

    static UV zero() { return UV(0.0f, 0.0f); }
    static UV one() { return UV(1.0f, 1.0f); }

    float u, v;
};

#endif
