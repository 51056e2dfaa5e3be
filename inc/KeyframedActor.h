#ifndef KELVO_KEYFRAMEDACTOR_H
#define KELVO_KEYFRAMEDACTOR_H

#include <map>
#include <string>

#include "CommonObject.h"

class Actor;
class Keyframer;

// A skinned actor put on stage: an object keyframer places the whole actor and one keyframer per
// bone name turns that bone, every frame, before the actor draws. Its own position and
// orientation are not applied.
class KeyframedActor : public CommonObject {
public:
    KeyframedActor();
    ~KeyframedActor() override;

    // Not owned: the actor lives in the scene's actors.
    void setActor(Actor* actor);
    Actor* getActor() const { return actor; }
    // Not owned: keyframers belong to the scene's keyframer controller. Null leaves the actor
    // where its bones put it.
    void setKeyframer(Keyframer* keyframer);
    Keyframer* getKeyframer() const { return keyframer; }
    // The rotation track of the bone of that name, replacing an earlier one; null turns nothing.
    void setBoneKeyframer(const std::string& bone, Keyframer* keyframer);
    const std::map<std::string, Keyframer*>& getBoneKeyframers() const { return boneKeyframers; }

    // Places the actor at time (playback seconds), turns its bones in bone-name order and draws
    // it. Without an actor nothing is drawn.
    void render(double time) override;

private:
    Actor* actor;          // not owned
    Keyframer* keyframer;  // not owned
    std::map<std::string, Keyframer*> boneKeyframers;  // by bone name; not owned
};

#endif
