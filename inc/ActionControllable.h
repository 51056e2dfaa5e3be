#ifndef KELVO_ACTIONCONTROLLABLE_H
#define KELVO_ACTIONCONTROLLABLE_H

#include <map>
#include <string>

#include "Exception.h"

// An object the timeline can reach. Actions arrive through the four entry points (implemented by
// Action<T>); a dotted path "child.rest" is passed to the named child, one component per level.
class ActionControllable {
public:
    ActionControllable();
    // Virtual so that deleting through this base is safe; children are never deleted.
    virtual ~ActionControllable();

    virtual void action(std::string name) = 0;
    virtual void stringAction(std::string name, std::string value) = 0;
    virtual void floatAction(std::string name, float value) = 0;
    virtual void intAction(std::string name, int value) = 0;

    // child is not owned; whoever registers it keeps it alive while this object can reach it.
    // A name registered again replaces the earlier child.
    void addChildAction(ActionControllable* child, const std::string& name);
    void removeChildAction(const std::string& name);
    // The child registered under name, or null.
    ActionControllable* getChildAction(const std::string& name) const;

    // True when name contains a '.' anywhere.
    static bool isChildAction(const std::string& name);
    // The text before the first '.'; path becomes the text after it. path must contain a '.'.
    static std::string splitChildName(std::string& path);

    void childAction(std::string path);
    void childStringAction(std::string path, std::string value);
    void childFloatAction(std::string path, float value);
    void childIntAction(std::string path, int value);

private:
    // The child named by the head of path (path keeps the rest); throws naming operation.
    ActionControllable* findChild(std::string& path, const char* operation) const;

    std::map<std::string, ActionControllable*> children;  // not owned
};

class ActionControllableException : public Exception {
public:
    explicit ActionControllableException(const std::string& message);
};

#endif
