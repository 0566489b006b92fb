#include "Utillib/Signal.h"

ReceiverLinks::ReceiverLinks()
{
    receiverNext = this;
    receiverPrev = this;
}

ReceiverLinks::~ReceiverLinks()
{
    while (receiverNext != this)
        SignalConnection::disconnect(static_cast<SignalConnection*>(receiverNext));
}

void SignalConnection::unlinkFromSignal()
{
    if (!signalNext)
        return;
    signalNext->signalPrev = signalPrev;
    signalPrev->signalNext = signalNext;
    signalNext = signalPrev = nullptr;
}

void SignalConnection::unlinkFromReceiver()
{
    if (!receiverNext)
        return;
    receiverNext->receiverPrev = receiverPrev;
    receiverPrev->receiverNext = receiverNext;
    receiverNext = receiverPrev = nullptr;
}

void SignalConnection::disconnect(SignalConnection* connection)
{
    if (!connection)
        return;
    connection->unlinkFromReceiver();
    if (connection->signal && connection->signal->emission) {
        // The running emission may hold this node as its next step: keep the
        // node in the signal's ring until the emission is over.
        connection->removed = true;
        return;
    }
    connection->unlinkFromSignal();
    delete connection;
}

SignalBase::SignalBase()
{
    signalNext = this;
    signalPrev = this;
}

SignalBase::~SignalBase()
{
    for (Emission* running = emission; running; running = running->outer)
        running->destroyed = true;
    emission = nullptr;
    while (signalNext != this) {
        auto* connection = static_cast<SignalConnection*>(signalNext);
        connection->unlinkFromReceiver();
        connection->unlinkFromSignal();
        delete connection;
    }
}

bool SignalBase::empty() const
{
    for (const SignalLink* node = signalNext; node != this; node = node->signalNext)
        if (static_cast<const SignalConnection*>(node)->isLive())
            return false;
    return true;
}

void SignalBase::insert(SignalConnection* connection, SignalReceiver* receiver)
{
    connection->signalPrev = this;
    connection->signalNext = signalNext;
    signalNext->signalPrev = connection;
    signalNext = connection;

    ReceiverLinks& head = receiver->receiverLinks();
    connection->receiverPrev = &head;
    connection->receiverNext = head.receiverNext;
    head.receiverNext->receiverPrev = connection;
    head.receiverNext = connection;
}

void SignalBase::removeDeferred()
{
    SignalLink* node = signalNext;
    while (node != this) {
        SignalLink* following = node->signalNext;
        auto* connection = static_cast<SignalConnection*>(node);
        if (!connection->isLive()) {
            connection->unlinkFromSignal();
            delete connection;
        }
        node = following;
    }
}

SignalBase::Emission::Emission(SignalBase* owner)
    : signal(owner)
    , outer(owner->emission)
{
    owner->emission = this;
}

SignalBase::Emission::~Emission()
{
    if (destroyed)
        return;
    signal->emission = outer;
    if (!outer)
        signal->removeDeferred();
}
