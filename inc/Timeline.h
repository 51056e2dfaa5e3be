#ifndef KELVO_TIMELINE_H
#define KELVO_TIMELINE_H

#include <string>
#include <vector>

#include "Exception.h"
#include "TimedAction.h"

class ActionControllable;

// The show's script at run time: timed actions in the order they were added (never sorted), fired
// once each through the root object as the playback clock reaches them.
class Timeline {
public:
    Timeline();
    virtual ~Timeline();

    void addTimedAction(const TimedAction& action);
    void setRoot(ActionControllable* root);  // not owned
    void setName(const std::string& name);
    std::string getName() const;
    float getTimeOffset() const;  // seconds added to every time the reader loads

    // Fires, in list order, every action from the next one on whose time is at or before time
    // (seconds); stops at the first one not yet due. Called once per frame.
    void update(float time);
    // Logs and performs one action. Failures come back as TimelineException naming the action and
    // its time; ExitNowException passes through unchanged.
    void run(TimedAction action);
    // Lets every action fire again.
    void rewind();

private:
    std::vector<TimedAction> actions;
    float timeOffset;        // seconds
    unsigned int nextIndex;  // first action not fired yet
    ActionControllable* root;
    std::string name;
};

class TimelineException : public Exception {
public:
    explicit TimelineException(const std::string& message);
};

#endif
