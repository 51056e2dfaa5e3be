#ifndef KELVO_TIMEDACTION_H
#define KELVO_TIMEDACTION_H

#include <string>

// The parameter kind of a timed action.
enum ActionKind {
    ActionKindNone = 0,
    ActionKindString = 1,
    ActionKindFloat = 2,
    ActionKindInteger = 3
};

// One entry of the show's script: fire action (a dotted path from the timeline's root) at time.
class TimedAction {
public:
    // time in seconds of playback time; kind is an ActionKind; parameter is the raw text ("" for none).
    TimedAction(double time, const std::string& action, int kind, const std::string& parameter);
    virtual ~TimedAction();

    double getTime() const;
    std::string getAction() const;
    int getKind() const;
    std::string getParameter() const;
    // The leading number of the parameter text, 0 when it does not start with one.
    float getFloatParameter() const;
    int getIntParameter() const;

private:
    double time;  // seconds
    std::string action;
    int kind;
    std::string parameter;
};

#endif
