#include "Timeline.h"

#include "ActionControllable.h"
#include "ExitNowException.h"
#include "Log.h"
#include "StringUtil.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

Timeline::Timeline() : timeOffset(0.0f), nextIndex(0), root(nullptr) {}

Timeline::~Timeline() = default;

void Timeline::addTimedAction(const TimedAction& action)
{
    actions.push_back(action);
}

void Timeline::setRoot(ActionControllable* root)
{
    this->root = root;
}

void Timeline::setName(const std::string& name)
{
    this->name = name;
}

std::string Timeline::getName() const
{
    return name;
}

float Timeline::getTimeOffset() const
{
    return timeOffset;
}

void Timeline::update(float time)
{
    // The index moves before the action runs, so a failing action is not tried again.
    while (nextIndex < actions.size() && static_cast<double>(time) >= actions[nextIndex].getTime()) {
        TimedAction due = actions[nextIndex];
        ++nextIndex;
        run(due);
    }
}

void Timeline::run(TimedAction action)
{
    const std::string path = action.getAction();
    const std::string time = toString(action.getTime());
    try {
        switch (action.getKind()) {
        case ActionKindNone:
            KELVO_LOG(LogLevel::info) << "run() - " << time << " Secs. Running " << clipped(path)
                         << "()." << logEnd;
            break;
        case ActionKindString:
            KELVO_LOG(LogLevel::info) << "run() - " << time << " Secs. Running \"" << clipped(path)
                         << "(" << quoted(action.getParameter()) << ")." << logEnd;
            break;
        case ActionKindFloat:
            KELVO_LOG(LogLevel::info) << "run() - " << time << " Secs. Running \"" << clipped(path)
                         << "(" << toString(static_cast<double>(action.getFloatParameter())) << "f)." << logEnd;
            break;
        case ActionKindInteger:
            KELVO_LOG(LogLevel::info) << "run() - " << time << " Secs. Running \"" << clipped(path)
                         << "(" << toString(static_cast<double>(action.getIntParameter())) << "i)." << logEnd;
            break;
        default:
            break;
        }
        if (root == nullptr)
            return;
        switch (action.getKind()) {
        case ActionKindNone:
            root->action(path);
            break;
        case ActionKindString:
            root->stringAction(path, action.getParameter());
            break;
        case ActionKindFloat:
            root->floatAction(path, action.getFloatParameter());
            break;
        case ActionKindInteger:
            root->intAction(path, action.getIntParameter());
            break;
        default:
            break;
        }
    } catch (const ExitNowException&) {
        throw;
    } catch (const Exception& e) {
        throw TimelineException("run() - Action " + quoted(path) + " timed at " + time + " seconds failed to execute! " +
                               e.getMessage());
    }
}

void Timeline::rewind()
{
    nextIndex = 0;
}

TimelineException::TimelineException(const std::string& message)
{
    addSource("TimelineException");
    appendMessage(message);
}
