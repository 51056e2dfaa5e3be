#include "Factory.h"

#include <gtest/gtest.h>

#include <memory>

#include "FactoryObject.h"

namespace {
int liveParts = 0;

struct Owner {
    int id = 7;
};

class Part : public FactoryObject {
public:
    explicit Part(Owner* owner) : owner(owner) { ++liveParts; }
    Part(const Part& other) : FactoryObject(other), owner(other.owner) { ++liveParts; }
    ~Part() override { --liveParts; }
    Owner* owner;
};
}

TEST(Factory, CreateNamesFromTheOwnerAndFindReturnsIt)
{
    Owner owner;
    Factory<Part> factory("Factory<Part>");
    Part* part = factory.create("wheel", &owner);
    EXPECT_EQ(part->getName(), "wheel");
    EXPECT_EQ(part->owner, &owner);
    EXPECT_EQ(factory.find("wheel"), part);
    EXPECT_TRUE(factory.exists("wheel"));
    EXPECT_FALSE(factory.exists("Wheel"));
    EXPECT_EQ(factory.size(), 1);
    factory.erase("wheel");
}

TEST(Factory, DuplicateNamesAreRefusedAndTheFirstStays)
{
    Owner owner;
    Factory<Part> factory("Factory<Part>");
    Part* first = factory.create("a", &owner);
    try {
        factory.create("a", &owner);
        FAIL();
    } catch (const ComponentAlreadyExistsException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::Factory<Part>Exception::create() - Unable to create new "
                                  "component. Component \"a\" already exists in this factory!.");
    }
    try {
        factory.add("a", *first);
        FAIL();
    } catch (const ComponentAlreadyExistsException& e) {
        EXPECT_NE(e.getMessage().find("add() - Unable to create new component. Component \"a\""), std::string::npos);
    }
    EXPECT_EQ(factory.find("a"), first);
    EXPECT_EQ(factory.size(), 1);
    factory.erase("a");
}

TEST(Factory, AddStoresACopyKeepingItsName)
{
    Owner owner;
    Part original(&owner);
    original.setName("original");
    Factory<Part> factory("Factory<Part>");
    Part* copy = factory.add("copy", original);
    EXPECT_NE(copy, &original);
    EXPECT_EQ(copy->getName(), "original");
    factory.erase("copy");
}

TEST(Factory, NotFoundTexts)
{
    Factory<Part> factory("Factory<Texture>");
    try {
        factory.find("x");
        FAIL();
    } catch (const ComponentNotFoundException& e) {
        EXPECT_EQ(e.getMessage(),
                  "KelvoEngineException::::Factory<Texture>Exception::find() - Unable to find component \"x\".");
    }
    try {
        factory.getNext("x");
        FAIL();
    } catch (const ComponentNotFoundException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::Factory<Texture>Exception::getNext() - No components "
                                  "available (empty factory?). Searched next for \"x\".");
    }
    try {
        factory.erase("x");
        FAIL();
    } catch (const ComponentNotFoundException& e) {
        EXPECT_EQ(e.getMessage(),
                  "KelvoEngineException::::Factory<Texture>Exception::erase() - Unable to find component \"x\".");
    }
}

TEST(Factory, GetNextCyclesInByteOrder)
{
    Owner owner;
    Factory<Part> factory("Factory<Part>");
    for (const char* name : {"c", "a", "b", "cam", "Cam"})
        factory.create(name, &owner);
    struct Case {
        const char* name;
        const char* next;
    } cases[] = {{"a", "b"}, {"b", "c"}, {"cam", "Cam"}, {"zzz", "Cam"}, {"Cam", "a"}, {"c", "cam"}};
    for (const Case& c : cases)
        EXPECT_EQ(factory.getNext(c.name), c.next) << c.name;
    for (const char* name : {"c", "a", "b", "cam", "Cam"})
        factory.erase(name);

    Factory<Part> single("Factory<Part>");
    single.create("only", &owner);
    EXPECT_EQ(single.getNext("only"), "only");
    EXPECT_EQ(single.getNext("other"), "only");
    single.erase("only");
}

TEST(Factory, EraseDeletesAtOnceAndTheFactoryDeletesTheRest)
{
    Owner owner;
    const int before = liveParts;
    {
        Factory<Part> factory("Factory<Part>");
        factory.create("kept", &owner);
        factory.store("stored", std::make_unique<Part>(&owner));
        factory.create("gone", &owner);
        factory.erase("gone");
        EXPECT_EQ(liveParts, before + 2);
    }
    EXPECT_EQ(liveParts, before);
}

TEST(Factory, AReplacedComponentLeavesTheNameAndLivesUntilTheFactoryGoes)
{
    Owner owner;
    const int before = liveParts;
    {
        Factory<Part> factory("Factory<Part>");
        Part* first = factory.create("a", &owner);
        Part* second = factory.store("a", std::make_unique<Part>(&owner));
        EXPECT_EQ(factory.find("a"), second);
        EXPECT_EQ(factory.size(), 1);
        EXPECT_EQ(liveParts, before + 2) << "whoever found the first may still hold it";
        EXPECT_EQ(first->owner, &owner);
        factory.erase("a");
        EXPECT_EQ(liveParts, before + 1);
    }
    EXPECT_EQ(liveParts, before);
}
