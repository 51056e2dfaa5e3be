#include "ActionControllable.h"

#include "StringUtil.h"

ActionControllable::ActionControllable() = default;

ActionControllable::~ActionControllable()
{
    children.clear();
}

void ActionControllable::addChildAction(ActionControllable* child, const std::string& name)
{
    children[name] = child;
}

void ActionControllable::removeChildAction(const std::string& name)
{
    if (children.erase(name) == 0)
        throw ActionControllableException("removeChildAction() - Child action object " + quoted(name) + " not found!");
}

ActionControllable* ActionControllable::getChildAction(const std::string& name) const
{
    const auto it = children.find(name);
    return it == children.end() ? nullptr : it->second;
}

bool ActionControllable::isChildAction(const std::string& name)
{
    return name.find('.') != std::string::npos;
}

std::string ActionControllable::splitChildName(std::string& path)
{
    std::string::size_type dot = path.find('.');
    std::string head = path.substr(0, dot);
    path = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    return head;
}

ActionControllable* ActionControllable::findChild(std::string& path, const char* operation) const
{
    std::string head = splitChildName(path);
    std::map<std::string, ActionControllable*>::const_iterator it = children.find(head);
    if (it == children.end())
        throw ActionControllableException(std::string(operation) + "() - Child action " + quoted(head) + " not found!");
    return it->second;
}

void ActionControllable::childAction(std::string path)
{
    findChild(path, "childAction")->action(path);
}

void ActionControllable::childStringAction(std::string path, std::string value)
{
    findChild(path, "childStringAction")->stringAction(path, value);
}

void ActionControllable::childFloatAction(std::string path, float value)
{
    findChild(path, "childFloatAction")->floatAction(path, value);
}

void ActionControllable::childIntAction(std::string path, int value)
{
    findChild(path, "childIntAction")->intAction(path, value);
}

ActionControllableException::ActionControllableException(const std::string& message)
{
    addSource("ActionControllableException");
    appendMessage(message);
}
