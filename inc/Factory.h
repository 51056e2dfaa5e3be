#ifndef KELVO_FACTORY_H
#define KELVO_FACTORY_H

#include <map>
#include <string>
#include <type_traits>

#include "ComponentExceptions.h"
#include "StringUtil.h"

// A named registry of components, sorted by byte-wise name. The factory keeps pointers only:
// its destructor deletes nothing; erase() is the one operation that deletes a component.
template <typename T> class Factory {
public:
    typedef std::map<std::string, T*> ComponentMap;

    explicit Factory(const std::string& factoryName) : factoryName(factoryName) {}
    virtual ~Factory() {}

    // A new component built from its owner (the scene that holds it) and named name.
    template <typename Owner> T* create(const std::string& name, Owner* owner)
    {
        if (exists(name))
            throw ComponentAlreadyExistsException(factoryName, "create() - Unable to create new component. Component " +
                                                                   quoted(name) + " already exists in this factory!.");
        T* component = new T(owner);
        component->setName(name);
        components[name] = component;
        return component;
    }

    // A copy of value, keeping the name it was copied with.
    T* add(const std::string& name, const T& value)
    {
        if (exists(name))
            throw ComponentAlreadyExistsException(factoryName, "add() - Unable to create new component. Component " +
                                                                   quoted(name) + " already exists in this factory!.");
        T* component = new T(value);
        components[name] = component;
        return component;
    }

    T* find(const std::string& name) const
    {
        typename ComponentMap::const_iterator it = components.find(name);
        if (it == components.end())
            throw ComponentNotFoundException(factoryName, "find() - Unable to find component " + quoted(name) + ".");
        return it->second;
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

    // Registers a component its owner built, under name, replacing an entry of that name without
    // deleting it; owners that must not replace test exists() first.
    void store(const std::string& name, T* component) { components[name] = component; }

    // Every component by name, in name order.
    const ComponentMap& getComponents() const { return components; }

    void erase(const std::string& name)
    {
        static_assert(std::has_virtual_destructor<T>::value, "Factory<T>::erase deletes through T's destructor");
        typename ComponentMap::iterator it = components.find(name);
        if (it == components.end())
            throw ComponentNotFoundException(factoryName, "erase() - Unable to find component " + quoted(name) + ".");
        delete it->second;
        components.erase(it);
    }

    std::string getFactoryName() const { return factoryName; }

protected:
    std::string factoryName;
    ComponentMap components;
};

#endif
