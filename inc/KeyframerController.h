#ifndef KELVO_KEYFRAMERCONTROLLER_H
#define KELVO_KEYFRAMERCONTROLLER_H

#include <list>
#include <unordered_map>

class Environment;
class Keyframer;

// The keyframers of one scene, in creation order, and the frame rate new ones start with. The
// keyframers live as long as the controller, that is as long as their scene, whose lights,
// cameras, meshes and actors are the only ones that use them.
class KeyframerController {
public:
    explicit KeyframerController(Environment* owner);  // owner: the scene, not owned
    // Deletes the keyframers: a scene that is thrown away (a test's, a fuzz input's) would
    // otherwise leave all its tracks behind.
    ~KeyframerController();
    KeyframerController(const KeyframerController&) = delete;
    KeyframerController& operator=(const KeyframerController&) = delete;

    // A new keyframer of the owning scene at the controller's frame rate.
    Keyframer* createKeyframer();
    // Switches every keyframer, and those created later, to fps frames per second.
    void setFrameRate(int fps);
    // The first keyframer in creation order with this id, or null (with a warning).
    Keyframer* findKeyframer(int id) const;
    // The keyframer findKeyframer finds for every id there is, in one pass: for a reader that
    // resolves many ids, which then notes the ids it gives itself.
    std::unordered_map<int, Keyframer*> firstKeyframersById() const;
    // The warning findKeyframer logs for an id that no keyframer has.
    void reportMissingKeyframer(int id) const;
    // Once, when the scene initialises.
    void initialize();
    void toString() const;
    int getKeyframerCount() const;

private:
    std::list<Keyframer*> keyframers;  // owned
    int keyframerCount;
    int framesPerSecond;
    Environment* owner;  // not owned
};

#endif
