#include "tk2v/gui/EventSet.h"
#include "tk2v/gui/NameTable.h"
#include "tk2v/gui/PropertySet.h"

#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace GUI;

namespace {

struct Settings : PropertySet {
    Property a, b;
    Settings() {
        AddProperty("Alpha", &a);
        AddProperty("Beta", &b);
        AddProperty("alpha", &b);
        AddProperty("Gamma", nullptr);
    }
};

struct Events : EventSet {
    Events() {
        AddEvent("Click");
        AddEvent("CLICK");
    }
    using EventSet::LaunchEvent;
};

// Calls a function; records itself in a shared trace.
struct Recorder : Subscriber {
    std::vector<std::string>* trace;
    std::string name;
    bool result;
    std::function<void()> action;
    Recorder(std::vector<std::string>* t, std::string n, bool r = false)
        : trace(t), name(std::move(n)), result(r) {}
    bool operator()(const EventArgs&) override {
        trace->push_back(name);
        if (action)
            action();
        return result;
    }
};

} // namespace

TEST(PropertySet, SetMarksChangedEvenWithTheSameTextAndNamesIgnoreCase) {
    LogCapture log;
    Settings s;
    EXPECT_TRUE(log.contains("PropertySet::AddProperty - property 'alpha' already exists"));
    s.Set("ALPHA", "1");
    EXPECT_EQ(s.a.value, "1");
    EXPECT_TRUE(s.a.changed);
    EXPECT_FALSE(s.b.changed) << "the first record of a name stays";
    s.ClearChanged();
    EXPECT_FALSE(s.a.changed);
    s.Set("alpha", "1");
    EXPECT_TRUE(s.a.changed);
    EXPECT_EQ(s.Get("Alpha"), "1");

    s.Set("Delta", "x");
    EXPECT_TRUE(log.contains("PropertySet::Set - property 'Delta' not found"));
    EXPECT_EQ(s.Get("Delta"), "");
    EXPECT_TRUE(log.contains("PropertySet::Get - property 'Delta' not found"));
    EXPECT_EQ(s.Get("Gamma"), "") << "a null record is never registered";
}

TEST(EventSet, UnknownAndDuplicateNamesAreLoggedAndHarmless) {
    LogCapture log;
    Events events;
    EXPECT_TRUE(log.contains("EventSet::AddEvent - event CLICK already exists"));
    std::vector<std::string> trace;
    Recorder r(&trace, "r");
    const Connection c = events.SubscribeEvent("Missing", &r);
    EXPECT_TRUE(log.contains("EventSet::SubscribeEvent - event Missing not found"));
    EXPECT_EQ(c.event, nullptr);
    ASSERT_NE(c.subscriber, nullptr);
    EXPECT_FALSE((*c.subscriber)(EventArgs()));
    c.Disconnect();
    EventArgs args;
    events.LaunchEvent("Missing", args);
    EXPECT_TRUE(log.contains("EventSet::LaunchEvent - event 'Missing' not found"));
    events.LaunchEvent("click", args);
    EXPECT_TRUE(trace.empty());
}

TEST(Event, FireCallsEverySubscriberOnceAndOrsHandled) {
    struct Case {
        bool first, second, handled;
    } cases[] = {{false, false, false}, {true, false, true}, {false, true, true}, {true, true, true}};
    for (const Case& c : cases) {
        Event event("Click");
        std::vector<std::string> trace;
        Recorder a(&trace, "a", c.first), b(&trace, "b", c.second);
        event.Subscribe(&a);
        event.Subscribe(&b);
        event.Subscribe(&a);
        EventArgs args;
        event.Fire(args);
        EXPECT_EQ(args.handled, c.handled);
        EXPECT_EQ(trace.size(), 2u) << "every subscriber once, with no early stop";
    }
}

TEST(Event, UnsubscribingDuringFireSkipsThoseNoLongerSubscribed) {
    Event event("Click");
    std::vector<std::string> trace;
    // The first subscriber called ends both subscriptions, as a click that closes a dialog does; the
    // other one's owner may already be gone.
    Recorder one(&trace, "one"), two(&trace, "two");
    event.Subscribe(&one);
    event.Subscribe(&two);
    Recorder* earlier = &one < &two ? &one : &two;
    Recorder* later = earlier == &one ? &two : &one;
    earlier->action = [&] {
        event.Unsubscribe(later);
        event.Unsubscribe(earlier);
    };
    EventArgs args;
    event.Fire(args);
    EXPECT_EQ(trace, std::vector<std::string>{earlier->name});
    EXPECT_EQ(event.GetSubscriberCount(), 0u);
}

TEST(Event, ConnectionsOutliveTheirEventSafely) {
    std::vector<std::string> trace;
    Recorder r(&trace, "r");
    Connection c;
    {
        Events events;
        c = events.SubscribeEvent("Click", &r);
        EXPECT_NE(c.event, nullptr);
        EXPECT_EQ(c.subscriber, &r);
        EventArgs args;
        events.LaunchEvent("Click", args);
        EXPECT_EQ(trace.size(), 1u);
        Connection copy = c;
        copy.Disconnect();
        events.LaunchEvent("Click", args);
        EXPECT_EQ(trace.size(), 1u);
        c = events.SubscribeEvent("Click", &r);
    }
    c.Disconnect(); // the event is gone: nothing happens
}

TEST(Event, BindersCallMembersAndFunctions) {
    struct Dialog {
        int calls = 0;
        bool OnClick(const EventArgs& e) {
            ++calls;
            return !e.handled;
        }
    } dialog;
    _memberBinder<Dialog, bool, const EventArgs&> member(&dialog, &Dialog::OnClick);
    _freeBinder<bool, const EventArgs&> free([](const EventArgs&) { return true; });
    Event event("Click");
    event.Subscribe(&member);
    event.Subscribe(&free);
    EventArgs args;
    event.Fire(args);
    EXPECT_TRUE(args.handled);
    EXPECT_EQ(dialog.calls, 1);
    Subscriber& callable = member;
    EXPECT_FALSE(callable(args));
}

TEST(NameTable, FindsEveryNameInAnyCaseAfterGrowing) {
    NameTable table;
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i)
        names.push_back("Name" + std::to_string(i) + std::string(size_t(i % 20), 'x'));
    for (const std::string& n : names)
        EXPECT_TRUE(table.Add(n));
    EXPECT_FALSE(table.Add("NAME7XXXXXXX"));
    ASSERT_EQ(table.Size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        std::string upper = names[i];
        for (char& c : upper)
            c = char(std::toupper(u8(c)));
        EXPECT_EQ(table.Find(upper), i) << upper;
        EXPECT_EQ(table.Name(i), names[i]);
    }
    EXPECT_EQ(table.Find("Name"), NameTable::npos);
    EXPECT_EQ(table.Find(""), NameTable::npos);
    NameTable symbols;
    symbols.Add("key@");
    EXPECT_EQ(symbols.Find("KEY@"), 0u);
    EXPECT_EQ(symbols.Find("KEY`"), NameTable::npos) << "'@' and '`' hash alike but are not letters";
}
