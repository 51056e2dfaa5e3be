#ifndef KELVO_TCBINTERPOLATOR_H
#define KELVO_TCBINTERPOLATOR_H

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Log.h"
#include "StringUtil.h"
#include "keyframer/TCBKey.h"

// The header logs under its own name ("tcbinterpolator"); one registration for the whole program.
inline LogSourceRegistration tcbInterpolatorLogSourceRegistration(LOG_SOURCE);

// A track: keys sorted by frame, evaluated at a playback time in seconds. The concrete tracks
// supply the formula that turns a segment's four neighbouring values into a value.
//
// No virtual destructor: tracks are values held and destroyed as their concrete type.
template <typename T> class TCBInterpolator {
public:
    explicit TCBInterpolator(float framesPerSecond)
        : defaultValue(), hasDefaultValue(false), startFrame(-1.0f), endFrame(-1.0f),
          framesPerSecond(framesPerSecond), loop(false)
    {
    }

    // Keeps the keys sorted; a key on the frame of an existing one goes in front of it. The range
    // is widened only from the keys already present, and only when the key is not appended.
    void addKey(const TCBKey<T>& key)
    {
        const float k = key.frame;
        if (keys.empty() && startFrame == -1.0f && endFrame == -1.0f) {
            startFrame = k;
            endFrame = k;
        }
        if (!hasDefaultValue)
            setDefaultValue(key.value);
        if (!keys.empty() && keys.back().frame >= k) {
            if (keys.front().frame < startFrame)
                startFrame = keys.front().frame;
            if (keys.back().frame > endFrame)
                endFrame = keys.back().frame;
            auto at = std::lower_bound(keys.begin(), keys.end(), k,
                                       [](const TCBKey<T>& existing, float frame) { return existing.frame < frame; });
            keys.insert(at, key);
        } else {
            keys.push_back(key);
        }
    }

    // Room for count more keys, for a reader that knows how many come.
    void reserveKeys(std::size_t count) { keys.reserve(keys.size() + count); }

    void setDefaultValue(const T& value)
    {
        defaultValue = value;
        hasDefaultValue = true;
    }

    // Frames; (-1, -1) means no range has been set.
    void setRange(float start, float end)
    {
        startFrame = start;
        endFrame = end;
    }
    void setLoop(bool on) { loop = on; }
    void setFrameRate(float fps) { framesPerSecond = fps; }

    float getStartFrame() const { return startFrame; }
    float getEndFrame() const { return endFrame; }
    bool isLooping() const { return loop; }
    int getKeyCount() const { return static_cast<int>(keys.size()); }

    // Called once per frame by the owners: no allocation, and the debug line is built only when
    // its level passes.
    T interpolateValue(float time) const
    {
        if (keys.empty())
            return defaultValue;
        const float f = timeToFrame(startFrame, endFrame, time, framesPerSecond, loop);
        if (f <= startFrame || f >= endFrame)
            return f <= keys.front().frame ? keys.front().value : keys.back().value;

        // The last key at or before f.
        auto after = std::upper_bound(keys.begin(), keys.end(), f,
                                      [](float frame, const TCBKey<T>& key) { return frame < key.frame; });
        const int i = static_cast<int>(after - keys.begin()) - 1;

        if (frameDebugLogged())
            KELVO_LOG(LogLevel::frame) << "interpolateValue() - Frame " << static_cast<double>(f) << " of ["
                                       << static_cast<double>(keys.front().frame) << ","
                                       << static_cast<double>(keys.back().frame) << "]" << logEnd;

        // Between the range start and the first key the first key's value holds; a looping track's
        // last segment ends at that value, so the loop stays continuous.
        if (i < 0)
            return keys.front().value;

        const int n = static_cast<int>(keys.size());
        const TCBKey<T>& start = keys[i];
        T values[4];
        float end;
        if (loop) {
            values[0] = keys[wrapIndex(i - 1, n)].value;
            values[1] = start.value;
            values[2] = keys[wrapIndex(i + 1, n)].value;
            values[3] = keys[wrapIndex(i + 2, n)].value;
            end = (i < n - 1) ? keys[i + 1].frame : endFrame;
        } else {
            values[0] = keys[i > 0 ? i - 1 : 0].value;
            values[1] = start.value;
            if (i < n - 1) {
                values[2] = keys[i + 1].value;
                values[3] = keys[i < n - 2 ? i + 2 : n - 1].value;
                end = keys[i + 1].frame;
            } else {
                values[2] = keys[n - 1].value;
                values[3] = keys[n - 1].value;
                end = endFrame;
            }
        }
        // f lies in [start.frame, end) with end > start.frame, so the division is safe.
        const float u = (f - start.frame) / (end - start.frame);
        return interpolate(values, u, start.tension, start.continuity, start.bias);
    }

    // A time in seconds as a frame; looping tracks wrap it into [start, end) in both directions.
    static float timeToFrame(float start, float end, float time, float fps, bool loop)
    {
        const float frame = time * fps;
        if (!loop)
            return frame;
        if (start >= end)
            return start;
        const float length = end - start;
        float r = std::fmod(frame - start, length);
        if (r < 0.0f)
            r += length;
        return start + r;
    }

    // values: p0, p1, p2, p3 around the segment from p1 to p2; u in [0, 1] within it.
    virtual T interpolate(const T values[4], float u, float tension, float continuity, float bias) const = 0;

    // "<count> keys:" and one "  frame <frame>: <value>\n" line per key; "" without keys.
    std::string toString() const
    {
        if (keys.empty())
            return "";
        std::string text = ::toString(getKeyCount()) + " keys:";
        for (const TCBKey<T>& key : keys)
            text += "  frame " + ::toString(static_cast<double>(key.frame)) + ": " + keyValueText(key.value) + "\n";
        return text;
    }

protected:
    ~TCBInterpolator() = default;
    TCBInterpolator(const TCBInterpolator& other) = default;
    TCBInterpolator& operator=(const TCBInterpolator& other) = default;
    static bool frameDebugLogged() { return Log::getInstance()->getLevel() >= LogLevel::frame; }

private:
    static int wrapIndex(int i, int n)
    {
        const int r = i % n;
        return r < 0 ? r + n : r;
    }
    static std::string keyValueText(float value) { return ::toString(static_cast<double>(value)); }
    // Vector and quaternion values are not listed.
    template <typename V> static std::string keyValueText(const V&) { return "DISABLED"; }

    std::vector<TCBKey<T>> keys;  // sorted by frame, ascending
    T defaultValue;               // the value while there are no keys
    bool hasDefaultValue;
    float startFrame;             // frames
    float endFrame;
    float framesPerSecond;
    bool loop;
};

#endif
