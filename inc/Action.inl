#ifndef KELVO_ACTION_INL
#define KELVO_ACTION_INL

#include <functional>
#include <map>
#include <string>

#include "ActionControllable.h"
#include "Exception.h"
#include "Log.h"
#include "StringUtil.h"

// Registers this file's log source once for the whole program, whichever file includes it first.
inline LogSourceRegistration actionLogSourceRegistration(LOG_SOURCE);

template <typename T> class Action;

// One action handler: a member function of T (or of a base of T) bound to an object. Params is
// empty for the no-argument kind, or one of std::string, float, int. A handler's result is ignored.
template <typename T, typename... Params> class ActionFunctor {
public:
    ActionFunctor() : object(nullptr), ownerBound(false) {}

    template <typename C, typename R, typename... Args>
    ActionFunctor(R (C::*handler)(Args...), T* object)
        : call([handler](T* target, Params... values) { (target->*handler)(values...); }),
          object(object),
          ownerBound(false)
    {
    }

    // Runs the handler on the bound object; does nothing when no object is bound.
    void operator()(Params... values) const { invoke(object, values...); }

private:
    template <typename U> friend class Action;

    // As operator(), but a handler registered by owner for itself runs on owner, which is the
    // object that holds the table now: a copied object calls its own handlers, not the original's.
    void invoke(T* owner, Params... values) const
    {
        T* target = ownerBound ? owner : object;
        if (target != nullptr && call)
            call(target, values...);
    }

    std::function<void(T*, Params...)> call;
    T* object;        // not owned
    bool ownerBound;  // object is the table's own holder
};

class ActionException : public Exception {
public:
    explicit ActionException(const std::string& message)
    {
        addSource("ActionException");
        appendMessage(message);
    }
};

// Makes T scriptable: T derives from Action<T> and registers its handlers by name in its
// constructor, one table per parameter kind. Dotted names go to the children instead.
template <typename T> class Action : public ActionControllable {
public:
    typedef ActionFunctor<T> VoidFunctor;
    typedef ActionFunctor<T, std::string> StringFunctor;
    typedef ActionFunctor<T, float> FloatFunctor;
    typedef ActionFunctor<T, int> IntFunctor;

    Action() = default;
    // Member by member; handlers bound to the original are bound to the copy instead.
    Action(const Action&) = default;
    Action& operator=(const Action&) = default;

    virtual ~Action()
    {
        voidActions.clear();
        stringActions.clear();
        floatActions.clear();
        intActions.clear();
        className.clear();
    }

    void addAction(const std::string& name, const VoidFunctor& f) { voidActions[name] = own(f); }
    void addStringAction(const std::string& name, const StringFunctor& f) { stringActions[name] = own(f); }
    void addFloatAction(const std::string& name, const FloatFunctor& f) { floatActions[name] = own(f); }
    void addIntAction(const std::string& name, const IntFunctor& f) { intActions[name] = own(f); }

    // Shorthands that bind handler to this object, for use in T's constructor.
    template <typename C, typename R> void addAction(const std::string& name, R (C::*handler)())
    {
        addAction(name, VoidFunctor(handler, static_cast<T*>(this)));
    }
    template <typename C, typename R, typename A> void addStringAction(const std::string& name, R (C::*handler)(A))
    {
        addStringAction(name, StringFunctor(handler, static_cast<T*>(this)));
    }
    template <typename C, typename R, typename A> void addFloatAction(const std::string& name, R (C::*handler)(A))
    {
        addFloatAction(name, FloatFunctor(handler, static_cast<T*>(this)));
    }
    template <typename C, typename R, typename A> void addIntAction(const std::string& name, R (C::*handler)(A))
    {
        addIntAction(name, IntFunctor(handler, static_cast<T*>(this)));
    }

    void setClassName(const std::string& name) { className = name; }

    void action(std::string name) override
    {
        if (isChildAction(name)) {
            childAction(name);
            return;
        }
        // A copy, so a handler that re-registers its own name does not destroy itself mid-call.
        const auto handler = find(voidActions, name, "action", "none");
        handler.invoke(static_cast<T*>(this));
    }

    void stringAction(std::string name, std::string value) override
    {
        if (isChildAction(name)) {
            childStringAction(name, value);
            return;
        }
        const auto handler = find(stringActions, name, "stringAction", "a string");
        handler.invoke(static_cast<T*>(this), value);
    }

    void floatAction(std::string name, float value) override
    {
        if (isChildAction(name)) {
            childFloatAction(name, value);
            return;
        }
        const auto handler = find(floatActions, name, "floatAction", "a float");
        handler.invoke(static_cast<T*>(this), value);
    }

    void intAction(std::string name, int value) override
    {
        if (isChildAction(name)) {
            childIntAction(name, value);
            return;
        }
        const auto handler = find(intActions, name, "intAction", "an integer");
        handler.invoke(static_cast<T*>(this), value);
    }

private:
    // f as stored: bound to this object when it was made for it.
    template <typename Functor> Functor own(Functor f)
    {
        if (f.object != nullptr && f.object == static_cast<T*>(this))
            f.ownerBound = true;
        return f;
    }

    // The handler registered under name; logs and throws when there is none. given: the
    // parameter the call brings, as the failure names it ("a string", ...).
    template <typename Functor>
    const Functor& find(const std::map<std::string, Functor>& table, const std::string& name, const char* operation,
                        const char* given) const
    {
        typename std::map<std::string, Functor>::const_iterator it = table.find(name);
        if (it == table.end())
            fail(name, operation, given);
        return it->second;
    }

    // A name known only with another parameter is named with the parameter it takes, so that a
    // timeline action of the wrong type is not reported as missing.
    [[noreturn]] void fail(const std::string& name, const char* operation, const char* given) const
    {
        std::string takes;
        const auto note = [&takes, &name](const auto& table, const char* parameter) {
            if (table.find(name) != table.end())
                takes += (takes.empty() ? "" : " or ") + std::string(parameter);
        };
        note(voidActions, "no parameter");
        note(stringActions, "a string");
        note(floatActions, "a float");
        note(intActions, "an integer");
        std::string message = std::string(operation) + "() - Action " + quoted(name) + " " +
                              (takes.empty() ? std::string("not found!") : "takes " + takes + ", not " + given + "!");
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw ActionException(message);
    }

    std::map<std::string, VoidFunctor> voidActions;
    std::map<std::string, StringFunctor> stringActions;
    std::map<std::string, FloatFunctor> floatActions;
    std::map<std::string, IntFunctor> intActions;
    std::string className;  // "Action<" + class name + ">"; nothing reads it
};

#endif
