#include "TimedAction.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

TimedAction::TimedAction(double time, const std::string& action, int kind, const std::string& parameter)
    : time(time), action(action), kind(kind), parameter(parameter)
{
}

TimedAction::~TimedAction() = default;

double TimedAction::getTime() const
{
    return time;
}

std::string TimedAction::getAction() const
{
    return action;
}

int TimedAction::getKind() const
{
    return kind;
}

std::string TimedAction::getParameter() const
{
    return parameter;
}

float TimedAction::getFloatParameter() const
{
    double value = std::atof(parameter.c_str());
    // Narrowing a double beyond the float range is undefined; it saturates to infinity instead.
    if (value > FLT_MAX)
        return HUGE_VALF;
    if (value < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(value);
}

int TimedAction::getIntParameter() const
{
    // atoi's result is undefined beyond the int range; strtol saturates, and so does this.
    long value = std::strtol(parameter.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}
