#ifndef KELVO_FACTORY_H
#define KELVO_FACTORY_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ComponentExceptions.h"
#include "StringUtil.h"

// A named registry of components, sorted by byte-wise name. Owns every component it holds: erase()
// deletes one at once, and one replaced under its name (store) is kept unnamed until the factory
// goes, since whoever found it earlier may still hold it; the destructor deletes them all.
template <typename T> class Factory {
public:
    typedef std::map<std::string, std::unique_ptr<T>> ComponentMap;

    explicit Factory(const std::string& factoryName) : factoryName(factoryName) {}
    virtual ~Factory() {}
    Factory(const Factory&) = delete;
    Factory& operator=(const Factory&) = delete;

    // A new component built from its owner (the scene that holds it) and named name.
    template <typename Owner> T* create(const std::string& name, Owner* owner)
    {
        if (exists(name))
            throw ComponentAlreadyExistsException(factoryName, "create() - Unable to create new component. Component " +
                                                                   quoted(name) + " already exists in this factory!.");
        std::unique_ptr<T> component(new T(owner));
        component->setName(name);
        return store(name, std::move(component));
    }

    // A copy of value, keeping the name it was copied with.
    T* add(const std::string& name, const T& value)
    {
        if (exists(name))
            throw ComponentAlreadyExistsException(factoryName, "add() - Unable to create new component. Component " +
                                                                   quoted(name) + " already exists in this factory!.");
        return store(name, std::unique_ptr<T>(new T(value)));
    }

    T* find(const std::string& name) const
    {
        typename ComponentMap::const_iterator it = components.find(name);
        if (it == components.end())
            throw ComponentNotFoundException(factoryName, "find() - Unable to find component " + quoted(name) + ".");
        return it->second.get();
    }

    bool exists(const std::string& name) const { return components.find(name) != components.end(); }

    // The name after name in map order, wrapping round; the first name when name is unknown.
    std::string getNext(const std::string& name) const
    {
        if (components.empty())
            throw ComponentNotFoundException(factoryName,
                                             "getNext() - No components available (empty factory?). Searched next for " +
                                                 quoted(name) + ".");
        typename ComponentMap::const_iterator it = components.find(name);
        if (it == components.end())
            return components.begin()->first;
        ++it;
        return it == components.end() ? components.begin()->first : it->first;
    }

    int size() const { return static_cast<int>(components.size()); }

    // Takes component (null is kept as an empty entry) under name and returns it. An entry of that
    // name is replaced: its component leaves the names and is deleted with the factory, not now.
    T* store(const std::string& name, std::unique_ptr<T> component)
    {
        T* stored = component.get();
        std::unique_ptr<T>& entry = components[name];
        if (entry)
            replaced.push_back(std::move(entry));
        entry = std::move(component);
        return stored;
    }

    // Every component by name, in name order.
    const ComponentMap& getComponents() const { return components; }

    // Deletes the component of name now: the caller knows that nothing holds it any more.
    void erase(const std::string& name)
    {
        typename ComponentMap::iterator it = components.find(name);
        if (it == components.end())
            throw ComponentNotFoundException(factoryName, "erase() - Unable to find component " + quoted(name) + ".");
        components.erase(it);
    }

    std::string getFactoryName() const { return factoryName; }

protected:
    // Deletes every component now, the replaced ones too, for an owner that must free them before
    // something they depend on.
    void clear()
    {
        replaced.clear();
        components.clear();
    }

    std::string factoryName;
    ComponentMap components;

private:
    std::vector<std::unique_ptr<T>> replaced;  // gone from the names, alive until the factory goes
};

#endif
