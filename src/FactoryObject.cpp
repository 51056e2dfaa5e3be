#include "FactoryObject.h"

FactoryObject::FactoryObject() = default;

FactoryObject::~FactoryObject() = default;

void FactoryObject::setName(const std::string& name)
{
    this->name = name;
}

std::string FactoryObject::getName() const
{
    return name;
}
