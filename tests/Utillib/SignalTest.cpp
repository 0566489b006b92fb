#include "Utillib/Signal.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;
struct Owner;

// Records each call as "<name>" or "<name>:<args>"; an optional action runs
// inside the slot so a test can disconnect, connect or destroy from there.
class Listener : public SignalReceiver {
public:
    Listener(std::string ownName, Calls& record)
        : name(std::move(ownName))
        , calls(record)
    {
    }

    void onPlain()
    {
        calls.push_back(name);
        runAction();
    }
    void onPlainOwner(Owner*) { onPlain(); }
    void onIndex(int index)
    {
        calls.push_back(name + ":" + std::to_string(index));
        runAction();
    }
    void onSwitch(int id, bool on)
    {
        calls.push_back(name + ":" + std::to_string(id) + (on ? "+" : "-"));
        runAction();
    }

    std::function<void()> action;
    SignalConnection* handle = nullptr;

private:
    void runAction()
    {
        if (action) {
            auto once = std::move(action);
            action = nullptr;
            once();
        }
    }

    std::string name;
    Calls& calls;
};

// A receiver whose SignalReceiver part is not its first base, so the slot's
// object address differs from the receiver's.
struct Payload {
    virtual ~Payload() = default;
    int weight = 7;
};
class LateBase : public Payload, public SignalReceiver {
public:
    void onIndex(int index) { seen = index + weight; }
    int seen = 0;
};

TEST(Signal, CallsNewestConnectionFirstWithTheArguments)
{
    Calls calls;
    Listener a("a", calls), b("b", calls), c("c", calls);
    Signal<int, bool> changed;
    changed.connect(&a, &Listener::onSwitch);
    changed.connect(&b, &Listener::onSwitch);
    changed.connect(&c, &Listener::onSwitch);

    changed.emit(4, true);
    changed.emit(9, false);
    EXPECT_EQ(calls, (Calls { "c:4+", "b:4+", "a:4+", "c:9-", "b:9-", "a:9-" }));
}

TEST(Signal, EmittingWithoutConnectionsDoesNothing)
{
    Signal<> nobody;
    EXPECT_TRUE(nobody.empty());
    nobody.emit();
    EXPECT_TRUE(nobody.empty());
}

TEST(Signal, ReachesAReceiverThatIsNotTheFirstBase)
{
    LateBase receiver;
    Signal<int> added;
    added.connect(&receiver, &LateBase::onIndex);
    added.emit(5);
    EXPECT_EQ(receiver.seen, 12);
}

TEST(Signal, DisconnectByHandleRemovesOnlyThatConnection)
{
    Calls calls;
    Listener a("a", calls), b("b", calls);
    Signal<> ping;
    SignalConnection* first = ping.connect(&a, &Listener::onPlain);
    ping.connect(&b, &Listener::onPlain);

    SignalConnection::disconnect(first);
    SignalConnection::disconnect(nullptr);
    ping.emit();
    EXPECT_EQ(calls, (Calls { "b" }));
    EXPECT_FALSE(a.hasConnections());
    EXPECT_TRUE(b.hasConnections());
}

TEST(Signal, SlotDisconnectingItselfDoesNotStopTheEmission)
{
    Calls calls;
    Listener a("a", calls), b("b", calls), c("c", calls);
    Signal<int> added;
    added.connect(&a, &Listener::onIndex);
    b.handle = added.connect(&b, &Listener::onIndex);
    added.connect(&c, &Listener::onIndex);
    b.action = [&] { SignalConnection::disconnect(b.handle); };

    added.emit(1);
    added.emit(2);
    EXPECT_EQ(calls, (Calls { "c:1", "b:1", "a:1", "c:2", "a:2" }));
    EXPECT_FALSE(b.hasConnections());
}

TEST(Signal, ConnectionMadeDuringEmissionWaitsForTheNextOne)
{
    Calls calls;
    Listener a("a", calls), b("b", calls), late("late", calls);
    Signal<> ping;
    ping.connect(&a, &Listener::onPlain);
    ping.connect(&b, &Listener::onPlain);
    b.action = [&] { ping.connect(&late, &Listener::onPlain); };

    ping.emit();
    EXPECT_EQ(calls, (Calls { "b", "a" }));
    calls.clear();
    ping.emit();
    EXPECT_EQ(calls, (Calls { "late", "b", "a" }));
}

TEST(Signal, DestroyedReceiverLeavesEverySignalItWasConnectedTo)
{
    Calls calls;
    Signal<> ping;
    Signal<int> added;
    Listener stays("stays", calls);
    ping.connect(&stays, &Listener::onPlain);
    {
        Listener goes("goes", calls);
        ping.connect(&goes, &Listener::onPlain);
        added.connect(&goes, &Listener::onIndex);
    }
    ping.emit();
    added.emit(3);
    EXPECT_EQ(calls, (Calls { "stays" }));
    EXPECT_TRUE(added.empty());
}

TEST(Signal, DestroyedSignalLeavesItsReceiversEmpty)
{
    Calls calls;
    auto a = std::make_unique<Listener>("a", calls);
    auto b = std::make_unique<Listener>("b", calls);
    {
        Signal<> ping;
        ping.connect(a.get(), &Listener::onPlain);
        ping.connect(b.get(), &Listener::onPlain);
        ping.connect(b.get(), &Listener::onPlain);
    }
    EXPECT_FALSE(a->hasConnections());
    EXPECT_FALSE(b->hasConnections());
    a.reset();
    b.reset();
}

// The owner of a signal that its oldest slot deletes (a frame closing itself).
struct Owner {
    Signal<Owner*> closing;
};

TEST(Signal, OldestSlotMayDestroyTheSignalsOwner)
{
    Calls calls;
    Listener newer("newer", calls);
    struct Closer : SignalReceiver {
        void onClosing(Owner* who) { delete who; }
    } closer;
    auto* owner = new Owner;
    owner->closing.connect(&closer, &Closer::onClosing);
    owner->closing.connect(&newer, &Listener::onPlainOwner);
    owner->closing.emit(owner);
    EXPECT_EQ(calls, (Calls { "newer" }));
    EXPECT_FALSE(closer.hasConnections());
    EXPECT_FALSE(newer.hasConnections());
}

TEST(Signal, SlotMayDestroyTheReceiverThatIsCalledNext)
{
    Calls calls;
    Listener a("a", calls), c("c", calls);
    auto b = std::make_unique<Listener>("b", calls);
    Signal<int> added;
    added.connect(&a, &Listener::onIndex);
    added.connect(b.get(), &Listener::onIndex);
    added.connect(b.get(), &Listener::onIndex);
    added.connect(&c, &Listener::onIndex);
    c.action = [&] { b.reset(); };

    added.emit(1);
    EXPECT_EQ(calls, (Calls { "c:1", "a:1" }));
    calls.clear();
    added.emit(2);
    EXPECT_EQ(calls, (Calls { "c:2", "a:2" }));
}

TEST(Signal, SlotMayDisconnectTheConnectionAfterItsOwn)
{
    Calls calls;
    Listener a("a", calls), b("b", calls), c("c", calls);
    Signal<> ping;
    ping.connect(&a, &Listener::onPlain);
    b.handle = ping.connect(&b, &Listener::onPlain);
    ping.connect(&c, &Listener::onPlain);
    c.action = [&] { SignalConnection::disconnect(b.handle); };

    ping.emit();
    EXPECT_EQ(calls, (Calls { "c", "a" }));
    EXPECT_FALSE(b.hasConnections());
}

TEST(Signal, SlotDestroyingTheSignalEndsTheEmission)
{
    Calls calls;
    Listener a("a", calls), b("b", calls), c("c", calls);
    auto ping = std::make_unique<Signal<>>();
    ping->connect(&a, &Listener::onPlain);
    ping->connect(&b, &Listener::onPlain);
    ping->connect(&c, &Listener::onPlain);
    c.action = [&] { ping.reset(); };

    Signal<>* raw = ping.get();
    raw->emit();
    EXPECT_EQ(calls, (Calls { "c" }));
    EXPECT_FALSE(a.hasConnections());
    EXPECT_FALSE(b.hasConnections());
}

TEST(Signal, NestedEmissionSeesConnectionsRemovedByTheOuterOne)
{
    Calls calls;
    Listener a("a", calls), b("b", calls), c("c", calls);
    Signal<int> added;
    a.handle = added.connect(&a, &Listener::onIndex);
    added.connect(&b, &Listener::onIndex);
    added.connect(&c, &Listener::onIndex);
    c.action = [&] {
        SignalConnection::disconnect(a.handle);
        added.emit(2);
    };

    added.emit(1);
    EXPECT_EQ(calls, (Calls { "c:1", "c:2", "b:2", "b:1" }));
    calls.clear();
    added.emit(3);
    EXPECT_EQ(calls, (Calls { "c:3", "b:3" }));
}

TEST(Signal, CopiesStartWithoutConnections)
{
    Calls calls;
    Listener a("a", calls);
    Signal<> ping;
    ping.connect(&a, &Listener::onPlain);

    Signal<> copiedSignal(ping);
    copiedSignal.emit();
    EXPECT_TRUE(calls.empty());

    Listener copiedListener(a);
    EXPECT_FALSE(copiedListener.hasConnections());
    ping.emit();
    EXPECT_EQ(calls, (Calls { "a" }));
}

} // namespace
