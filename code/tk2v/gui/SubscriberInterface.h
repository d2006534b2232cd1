#pragma once

namespace GUI {

class EventArgs;

// Something an event calls. The subscribing side makes and owns it; events only point at it.
template <typename R, typename A> class SubscriberInterface {
public:
    virtual R operator()(A args) = 0;
    virtual ~SubscriberInterface() = default;
};

// Calls a member function of one object.
template <typename T, typename R, typename A> class _memberBinder : public SubscriberInterface<R, A> {
public:
    using Member = R (T::*)(A);

    _memberBinder(T* object, Member member) : m_object(object), m_member(member) {}
    R operator()(A args) override { return (m_object->*m_member)(args); }

private:
    T* m_object;
    Member m_member;
};

// Calls a free function.
template <typename R, typename A> class _freeBinder : public SubscriberInterface<R, A> {
public:
    using Function = R (*)(A);

    explicit _freeBinder(Function function) : m_function(function) {}
    R operator()(A args) override { return m_function(args); }

private:
    Function m_function;
};

// What every widget event calls.
using Subscriber = SubscriberInterface<bool, const EventArgs&>;

} // namespace GUI
