#ifndef KELVO_FACTORYOBJECT_H
#define KELVO_FACTORYOBJECT_H

#include <string>

// Named base of factory components that are not scene objects (surfaces, particle parts).
class FactoryObject {
public:
    FactoryObject();
    virtual ~FactoryObject();
    virtual void setName(const std::string& name);
    virtual std::string getName() const;

private:
    std::string name;
};

#endif
