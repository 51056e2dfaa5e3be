#ifndef KELVO_KEYFRAMER_H
#define KELVO_KEYFRAMER_H

#include <string>

#include "Matrix.h"
#include "Quaternion.h"
#include "Vector.h"
#include "keyframer/HPBInterpolator.h"
#include "keyframer/QuaternionInterpolator.h"
#include "keyframer/TCBFloatInterpolator.h"
#include "keyframer/TCBVectorInterpolator.h"

class Environment;

// The animation channels of one scene object, sampled at a playback time in seconds into its
// position, rotation, scale, roll or whole transformation (composed with a parent's). Owned by
// the scene's keyframer controller.
class Keyframer {
public:
    explicit Keyframer(Environment* owner);  // owner: the scene, not owned

    void setName(const std::string& name);
    std::string getName() const;
    void setTargetName(const std::string& name);

    // The scene file's node number; -1 until a loader sets it.
    void setId(int id);
    int getId() const;

    // Keyframers a chain of parents may hold, from the root down to the deepest child, as bone
    // chains may: every frame samples the whole chain of each object.
    static constexpr int MAX_CHAIN_LENGTH = 128;

    // Why candidate cannot become this keyframer's parent: it is this keyframer or one of its
    // descendants, or the chain through it would hold more than MAX_CHAIN_LENGTH keyframers.
    // Empty when it can (null always can). Walks at most MAX_CHAIN_LENGTH parents.
    std::string parentRefusal(const Keyframer* candidate) const;
    // Not owned. A parent that parentRefusal refuses is refused with a warning and the old parent
    // stays; null removes the parent.
    void setParent(Keyframer* parent);
    Keyframer* getParent() const;

    // Frames are frame numbers; tension, continuity and bias must lie in [0, 1], otherwise the
    // key's InvalidParameterValueException passes through and nothing is added.
    void addPositionKey(float frame, const Vector& position, float tension, float continuity, float bias);
    void addScaleKey(float frame, const Vector& scale, float tension, float continuity, float bias);
    // A rotation relative to the previous key (3D Studio order); keys must come in file order.
    void addRotationKey(float frame, const Quaternion& delta, float tension, float continuity, float bias);
    // An absolute rotation; later relative keys continue from it.
    void setRotationKey(float frame, const Quaternion& rotation, float tension, float continuity, float bias);
    // Heading, pitch and bank in radians.
    void addHpbKey(float frame, float h, float p, float b, float tension, float continuity, float bias);
    void addRollKey(float frame, float roll, float tension, float continuity, float bias);

    // Room for count more keys of a track, for a reader that knows how many come.
    void reservePositionKeys(int count);
    void reserveRotationKeys(int count);
    void reserveScaleKeys(int count);
    void reserveRollKeys(int count);
    void setPositionRange(float start, float end);
    // Sets the range of the quaternion and of the heading/pitch/bank track.
    void setRotationRange(float start, float end);
    void setScaleRange(float start, float end);
    void setRollRange(float start, float end);
    void setFrameRate(float fps);
    void setFromMatrix(const Matrix& m);

    // Sampling; time in seconds.
    Vector getPosition(float time) const;
    Quaternion getRotation(float time) const;
    Vector getHpb(float time) const;  // radians
    Vector getScale(float time) const;
    float getRoll(float time) const;
    Matrix getTranslationMatrix(float time) const;
    Matrix getScaleMatrix(float time) const;
    // The quaternion track when it has keys, otherwise the heading/pitch/bank track.
    Matrix getLocalRotationMatrix(float time) const;
    // Composed with the parents' matrices up the chain.
    Matrix getMatrix(float time) const;

    void writeToLog() const;

private:
    std::string name;
    std::string targetName;
    // Own matrix of a keyframer that has a parent: rotation with the position, then the scale.
    Matrix getLinkMatrix(float time) const;
    // Own matrix of a keyframer without a parent: scale with the position, then the rotation.
    Matrix getRootMatrix(float time) const;

    Keyframer* parent;  // not owned; never this keyframer or one of its descendants
    // Levels of descendants below this keyframer, at most MAX_CHAIN_LENGTH - 1; a child taken away
    // again leaves it as it was, so it may count more levels than there are.
    int height;
    int id;
    Vector pivot;       // shown in the log only
    TCBVectorInterpolator positionTrack;
    QuaternionInterpolator rotationTrack;
    HPBInterpolator hpbTrack;
    TCBVectorInterpolator scaleTrack;
    TCBFloatInterpolator rollTrack;
    Quaternion accumulatedRotation;  // running product of the relative rotation keys
    float framesPerSecond;
    Environment* owner;  // not owned
};

#endif
