#pragma once
// Typed signals that call member functions of receivers, synchronously.
//
// Every connection sits in two intrusive rings at once: the ring of its
// signal and the ring of its receiver, so destroying either side removes the
// connection from both. The newest connection is first in both rings and an
// emission calls from the newest to the oldest.
//
//     class Port : public SignalReceiver { public: void onChanged(int id, bool on); };
//     Signal<int, bool> changed;
//     SignalConnection* c = changed.connect(&port, &Port::onChanged);
//     changed.emit(3, true);
//     SignalConnection::disconnect(c);   // optional; destructors also do it
//
// A slot may disconnect any connection, destroy any receiver (its own or
// another one of the same signal) or destroy the signal itself while it is
// called. Connections removed during an emission are unlinked from their
// receivers at once but their nodes stay in the signal's ring, skipped, until
// the outermost emission of that signal ends; so the emission never follows a
// freed node. When a slot destroys the signal, the emission stops there.
#include <type_traits>

class SignalBase;

// The node shared by signal heads, receiver heads and connections.
class SignalLink {
public:
    SignalLink() = default;
    SignalLink(const SignalLink&) = delete;
    SignalLink& operator=(const SignalLink&) = delete;
    virtual ~SignalLink() = default;

protected:
    friend class SignalBase;
    friend class SignalConnection;
    friend class ReceiverLinks;

    SignalLink* signalNext = nullptr;
    SignalLink* signalPrev = nullptr;
    SignalLink* receiverNext = nullptr;
    SignalLink* receiverPrev = nullptr;
};

// The head of a receiver's ring; destroying it removes every connection in it.
class ReceiverLinks : public SignalLink {
public:
    ReceiverLinks();
    ~ReceiverLinks() override;
    bool empty() const { return receiverNext == this; }

private:
    friend class SignalBase;
};

// Base of every object whose member functions are connected to signals.
class SignalReceiver {
public:
    SignalReceiver() = default;
    // A copy is a new receiver: it holds none of the original's connections.
    SignalReceiver(const SignalReceiver&) {}
    SignalReceiver& operator=(const SignalReceiver&) { return *this; }
    virtual ~SignalReceiver() = default;

    ReceiverLinks& receiverLinks() { return links; }
    bool hasConnections() const { return !links.empty(); }

private:
    ReceiverLinks links;
};

// One binding of a signal to a receiver's member function.
class SignalConnection : public SignalLink {
public:
    // Unlinks the connection from its signal and its receiver and deletes it.
    // A null pointer is ignored.
    static void disconnect(SignalConnection* connection);

    // False once disconnected during an emission that has not ended yet.
    bool isLive() const { return !removed; }

protected:
    explicit SignalConnection(SignalBase* owner)
        : signal(owner)
    {
    }

private:
    friend class SignalBase;
    void unlinkFromSignal();
    void unlinkFromReceiver();

    SignalBase* signal;
    bool removed = false; // disconnected during an emission, deleted when it ends
};

// The part of a signal that does not depend on its argument list.
class SignalBase : public SignalLink {
public:
    SignalBase();
    // A copy is a new signal without connections.
    SignalBase(const SignalBase&)
        : SignalBase()
    {
    }
    SignalBase& operator=(const SignalBase&) { return *this; }
    ~SignalBase() override;

    bool empty() const;

protected:
    // One running emission of this signal; nested emissions chain outwards.
    class Emission {
    public:
        explicit Emission(SignalBase* signal);
        ~Emission();
        Emission(const Emission&) = delete;
        Emission& operator=(const Emission&) = delete;
        bool signalDestroyed() const { return destroyed; }

    private:
        friend class SignalBase;
        SignalBase* signal;
        Emission* outer;
        bool destroyed = false;
    };

    void insert(SignalConnection* connection, SignalReceiver* receiver);
    SignalLink* first() const { return signalNext; }
    static SignalLink* next(const SignalLink* node) { return node->signalNext; }

private:
    friend class SignalConnection;
    void removeDeferred();

    Emission* emission = nullptr;
};

// A connection that can be called with the signal's arguments.
template <class... Args>
class SlotConnection : public SignalConnection {
public:
    virtual void call(Args... args) = 0;

protected:
    using SignalConnection::SignalConnection;
};

template <class Receiver, class... Args>
class MemberSlotConnection final : public SlotConnection<Args...> {
public:
    using Slot = void (Receiver::*)(Args...);
    MemberSlotConnection(SignalBase* owner, Receiver* target, Slot member)
        : SlotConnection<Args...>(owner)
        , slot(member)
        , receiver(target)
    {
    }
    // The slot may delete this connection; nothing is touched after it returns.
    void call(Args... args) override { (receiver->*slot)(args...); }

private:
    Slot slot;
    Receiver* receiver;
};

template <class... Args>
class Signal : public SignalBase {
public:
    // Connects a member function of `receiver`; the new connection is called
    // first. The handle may be dropped when the caller never disconnects by hand.
    template <class Receiver, class Declaring>
        requires std::is_base_of_v<Declaring, Receiver> && std::is_base_of_v<SignalReceiver, Receiver>
    SignalConnection* connect(Receiver* receiver, void (Declaring::*slot)(Args...))
    {
        Declaring* target = receiver;
        auto* connection = new MemberSlotConnection<Declaring, Args...>(this, target, slot);
        insert(connection, receiver);
        return connection;
    }

    // Calls every connected slot, newest connection first. Connections made
    // during the emission are not called by it.
    void emit(Args... args)
    {
        Emission running(this);
        SignalLink* node = first();
        while (node != this) {
            SignalLink* following = next(node);
            auto* connection = static_cast<SlotConnection<Args...>*>(node);
            if (connection->isLive())
                connection->call(args...);
            if (running.signalDestroyed())
                return;
            node = following;
        }
    }
};
